#!/usr/bin/env bash
# Installs what is missing, builds Talmeko with warnings as errors and runs every test.
# Under CI it also runs the core tests with AddressSanitizer and UndefinedBehaviorSanitizer,
# builds and checks the Debian package, runs the update check's worker tests with
# ThreadSanitizer, and the fuzz targets for a minute each.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

bash "$here/scripts/setup.sh"

echo "== Build and test"
bash "$here/scripts/build.sh" "$here/build" -DTALMEKO_WERROR=ON
# ctest starts the printing tests' private CUPS scheduler and stops it after
# them; this stops it as well when the run is interrupted halfway.
trap 'bash "$here/tests/support/private_cups.sh" stop "$here/build/tests/preview/qt/cups"' EXIT
ctest --test-dir "$here/build" --output-on-failure -j "$jobs"

if [ "${CI:-}" = "true" ] || [ "${TALMEKO_FULL_TESTS:-}" = "1" ]; then
  echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  bash "$here/scripts/build.sh" "$here/build-asan" -DTALMEKO_WERROR=ON -DTALMEKO_SANITIZE=ON \
    -DTALMEKO_GUI=OFF -DTALMEKO_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ctest --test-dir "$here/build-asan" --output-on-failure -j "$jobs"

  echo "== Update check under ThreadSanitizer"
  cmake -S "$here" -B "$here/build-tsan" -G Ninja -DTALMEKO_WERROR=ON -DTALMEKO_GUI=OFF -DTALMEKO_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
  cmake --build "$here/build-tsan" --parallel "$jobs" --target app_tests platform_tests
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --test-dir "$here/build-tsan" \
    --output-on-failure -j "$jobs" -R '^(UpdateCheck|UpdateInteger|HttpGet)\.'

  echo "== Debian package"
  deb="$(bash "$here/scripts/package.sh" "$here/build-package")"
  bash "$here/tests/package/check_package.sh" "$deb" "$here/build/tests/package/plugins"

  if [ -f "$here/fuzz/CMakeLists.txt" ]; then
    echo "== Fuzzing"
    bash "$here/scripts/fuzz.sh" 60
  fi
fi
