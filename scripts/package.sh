#!/usr/bin/env bash
# Installs what is missing and builds the Debian package talmeko_<version>_<arch>.deb with CPack.
# Usage: scripts/package.sh [build-dir] [extra cmake options...]
# Prints the path of the package; the build's own messages go to standard error.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build-package}"
shift || true
bash "$here/scripts/setup.sh" >&2

# Only what the package holds is built: installing must not wait for the
# tests and benchmarks.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALMEKO_GUI=ON -DTALMEKO_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target talmeko talmeko-convert talmeko_manual >&2
rm -f "$build"/talmeko_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/talmeko_*.deb
