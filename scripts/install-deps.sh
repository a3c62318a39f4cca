#!/usr/bin/env bash
# Installs the Debian 12 packages Vantrel needs to build, run and test.
set -euo pipefail
# Everything the program loads at run time is named here too, not only what the linker
# sees: the Qt platform and SQL drivers, the GStreamer plugins Qt Multimedia plays and
# captures with, the fonts, and the tools the program and its tests call.
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-psql
  qt6-translations-l10n
  qt6-multimedia-dev libgstreamer1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  libcurl4-openssl-dev libssl-dev libjpeg62-turbo-dev libpq-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql postgresql-client sqlite3 poppler-utils python3-aiosmtpd python3-icalendar openssl
  ca-certificates
  xvfb xauth x11-utils xdotool fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
