#!/usr/bin/env bash
# Installs what is needed, builds, starts a throw-away PostgreSQL cluster and an
# offscreen display, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
BUILD_DIR=${BUILD_DIR:-$root/build} "$root/scripts/build.sh" -DVANTREL_BUILD_TESTS=ON -DVANTREL_BUILD_BENCH=ON
build=${BUILD_DIR:-$root/build}

work=$(mktemp -d /tmp/vantrel-test.XXXXXX)
cleanup() {
  "$root/scripts/pg-cluster.sh" stop "$work/pg" || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
"$root/scripts/pg-cluster.sh" start "$work/pg" >/dev/null
export VANTREL_TEST_PGHOST="$work/pg"
export VANTREL_HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure "$@"
