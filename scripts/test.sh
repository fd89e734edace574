#!/usr/bin/env bash
# Installs what is missing, builds Talmeko with warnings as errors and runs every test.
# Under CI it also runs the core tests with AddressSanitizer and UndefinedBehaviorSanitizer,
# the file tests once more as an ordinary user, and the fuzz targets for 45 seconds each.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

bash "$here/scripts/setup.sh"

echo "== Build and test"
bash "$here/scripts/build.sh" "$here/build" -DTALMEKO_WERROR=ON
ctest --test-dir "$here/build" --output-on-failure -j "$jobs"

if [ "${CI:-}" = "true" ] || [ "${TALMEKO_FULL_TESTS:-}" = "1" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    # File modes do not bind the administrator, so the tests of read-only
    # files and folders skip above; here they run as an ordinary user. The
    # binaries are copied to a place that user can reach.
    echo "== File tests as an ordinary user"
    id talmeko-test >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin talmeko-test
    stage="$(mktemp -d)"
    trap 'rm -rf "$stage"' EXIT
    chmod 755 "$stage"
    for binary in platform/platform_tests app/app_tests; do
      install -m 755 "$here/build/tests/$binary" "$stage/"
      setpriv --reuid=talmeko-test --regid=talmeko-test --init-groups --reset-env \
        env TMPDIR=/tmp "$stage/$(basename "$binary")" --gtest_brief=1
    done
  fi

  echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  bash "$here/scripts/build.sh" "$here/build-asan" -DTALMEKO_WERROR=ON -DTALMEKO_SANITIZE=ON \
    -DTALMEKO_GUI=OFF -DTALMEKO_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ctest --test-dir "$here/build-asan" --output-on-failure -j "$jobs"

  if [ -f "$here/fuzz/CMakeLists.txt" ]; then
    echo "== Fuzzing"
    bash "$here/scripts/fuzz.sh" 45
  fi
fi
