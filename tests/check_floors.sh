#!/usr/bin/env bash
# The floors of the source tree: an include only ever points down.
#   base/ -> nothing of ours; data/ -> base/; printing/ -> base/, data/;
#   forms/ -> base/, data/, printing/; a subsystem -> those and other subsystems' headers;
#   app/ -> anything. base/ and data/ never use QtWidgets.
set -uo pipefail
src=${1:?source folder}
status=0
subsystems="registry series prescription printouts scheduling followup portal classes assessment maintenance"

refuse() {  # folder, pattern, what
  local hits
  hits=$(grep -rnE "$2" "$src/$1" --include='*.h' --include='*.cpp' 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "$1/ must not include $3:"
    echo "$hits"
    status=1
  fi
}

widgets=$(ls -d /usr/include/*/qt6/QtWidgets /usr/include/qt6/QtWidgets 2>/dev/null | head -n 1)
widget_headers=$(ls "$widgets" | grep -E '^Q[A-Za-z]+$' | paste -sd'|')
subsystem_re=$(echo $subsystems | tr ' ' '|')

for folder in base data printing forms $subsystems; do
  [ -d "$src/$folder" ] && refuse "$folder" '#include "app/' 'the shell (app/)'
done
refuse base "#include \"(data|printing|forms|$subsystem_re)/" 'a floor above it'
refuse data "#include \"(printing|forms|$subsystem_re)/" 'a floor above it'
refuse printing "#include \"(forms|$subsystem_re)/" 'forms/ or a subsystem'
refuse forms "#include \"($subsystem_re)/" 'a subsystem'
for folder in base data; do
  refuse "$folder" "#include <(QtWidgets/.*|$widget_headers)>" 'QtWidgets'
done
[ $status = 0 ] && echo "floors: every include points down"
exit $status
