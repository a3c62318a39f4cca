#!/usr/bin/env bash
# Installs what is needed, builds, creates the demonstration installation when there is
# none, and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
home=${VANTREL_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/vantrel}
if [ ! -f "$home/Vantrel.udl" ]; then
  "$root/build/vantrel" init --demo
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Sem tela gráfica (DISPLAY): iniciando em um Xvfb em :99" >&2
  Xvfb :99 -screen 0 1366x768x24 >/dev/null 2>&1 &
  export DISPLAY=:99
  sleep 1
fi
exec "$root/build/vantrel" "$@"
