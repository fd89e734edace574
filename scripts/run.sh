#!/usr/bin/env bash
# Installs what is missing, builds Talmeko and starts it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" "$here/build"
if [ -x "$here/build/src/app/ui/talmeko" ]; then
  exec "$here/build/src/app/ui/talmeko" "$@"
fi
# Until the main window is built, show what the converter answers (DMC 310 by default).
if [ $# -eq 0 ]; then set -- dmc 310; fi
exec "$here/build/src/convert/talmeko-convert" "$@"
