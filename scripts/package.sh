#!/usr/bin/env bash
# Builds the Debian package build/vantrel_<versão>_<arquitetura>.deb (program, desktop entry,
# icon, manual page); with --install, installs it on this machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
rm -f "$root"/build/vantrel_*.deb
(cd "$root/build" && cpack -G DEB >/dev/null)
package=$(ls "$root"/build/vantrel_*.deb)
echo "Pacote: $package"
if [ "${1:-}" = "--install" ]; then
  # install-deps.sh already put every run-time package in place: dpkg alone installs it.
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo dpkg -i "$package"
fi
