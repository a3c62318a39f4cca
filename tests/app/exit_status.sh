#!/usr/bin/env bash
# The real program, ended the three ways a user ends it, must leave with status 0:
#   "Sair" after logging in; three unknown codes at the login; "Sim" to the exit question
#   with a window still open. Driven through a real X display with synthetic keystrokes.
#   tests/app/exit_status.sh path/to/vantrel
set -uo pipefail
vantrel=$(realpath "${1:?path to the vantrel binary}")
work=$(mktemp -d /tmp/vantrel-exit.XXXXXX)
display=:$((90 + RANDOM % 800))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb VANTREL_HOME=$work/home VANTREL_NO_SPLASH=1
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$vantrel" init --demo >/dev/null || { echo "init failed"; exit 1; }

failures=0

# Waits for a window whose title matches, gives it the keyboard and types.
on_window() {  # title, keys...
  local title=$1
  shift
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | tail -n 1)
  [ -n "$id" ] || { echo "  no window '$title'"; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.3
  for k in "$@"; do
    case $k in
      type:*) xdotool type --delay 40 "${k#type:}" ;;
      *) xdotool key --delay 60 "$k" ;;
    esac
    sleep 0.2
  done
}

login() {
  on_window '^Acesso$' type:01 Return type:MESTRE Return
}

# Starts the program, runs the steps, and checks how it ended.
run_case() {  # name, steps function
  local name=$1 steps=$2
  "$vantrel" >"$work/$name.out" 2>&1 &
  local pid=$!
  if ! $steps; then
    echo "FAIL $name: could not drive the program"
    failures=$((failures + 1))
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return
  fi
  local status=
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL $name: the program did not end"
    kill -9 "$pid"
    failures=$((failures + 1))
  fi
  wait "$pid"
  status=$?
  if [ "$status" != 0 ]; then
    echo "FAIL $name: exit status $status"
    cat "$work/$name.out"
    failures=$((failures + 1))
  else
    echo "ok   $name: exit status 0"
  fi
}

exit_after_login() {
  login && on_window '^Sistema de Exerc' alt+s
}

three_unknown_codes() {
  on_window '^Acesso$' type:77 Return &&
    on_window '^Vantrel$' Return &&
    on_window '^Acesso$' type:78 Return &&
    on_window '^Vantrel$' Return &&
    on_window '^Acesso$' type:79 Return &&
    on_window '^Vantrel$' Return &&
    on_window '^Vantrel$' Return  # "Usuário sem acesso !", then the program ends
}

exit_with_a_window_open() {
  login &&
    on_window '^Sistema de Exerc' alt+c a &&
    sleep 1.5 &&  # the member window opens inside the frame
    on_window '^Sistema de Exerc' alt+s &&
    on_window '^Vantrel$' Return &&
    on_window '^Sistema de Exerc' alt+s &&
    on_window '^Vantrel$' alt+s
}

# The one version everywhere, and commands that say nothing of a runtime folder they never use.
version=$("$vantrel" --version)
if [ "$version" = "vantrel 9.30" ]; then echo "ok   versão: $version"; else
  echo "FAIL versão: '$version'"; failures=$((failures + 1)); fi
env -u XDG_RUNTIME_DIR "$vantrel" upkeep >/dev/null 2>"$work/upkeep.err"
if [ -s "$work/upkeep.err" ]; then
  echo "FAIL upkeep sem XDG_RUNTIME_DIR escreveu no stderr:"; cat "$work/upkeep.err"
  failures=$((failures + 1))
else echo "ok   upkeep sem XDG_RUNTIME_DIR: stderr vazio"; fi

# Every subcommand answers --help with status 0; a wrong call gets the usage and status 2.
for command in init upkeep report sheet receipt publish backup restore purge; do
  "$vantrel" "$command" --help >"$work/help.out" 2>&1; status=$?
  if [ $status = 0 ] && grep -q "^Uso: vantrel $command" "$work/help.out"; then :; else
    echo "FAIL $command --help: status $status"; cat "$work/help.out"; failures=$((failures + 1)); fi
done
for call in "frob" "sheet 1 A --bogus" "publish --from"; do
  # shellcheck disable=SC2086
  "$vantrel" $call >/dev/null 2>"$work/wrong.err"; status=$?
  if [ $status = 2 ] && grep -q "^Uso: vantrel" "$work/wrong.err"; then
    echo "ok   vantrel $call: status 2 e o uso"
  else echo "FAIL vantrel $call: status $status"; failures=$((failures + 1)); fi
done

run_case sair exit_after_login
run_case tres_codigos three_unknown_codes
run_case sim_com_janela exit_with_a_window_open
exit $((failures > 0))
