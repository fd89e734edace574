#!/usr/bin/env bash
# Configures and builds Talmeko. Usage: scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true
cmake -S "$here" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
