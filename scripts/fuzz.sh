#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for the given number of
# seconds, starting from the seeds in fuzz/corpus/<target>/.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="$here/build-fuzz"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DTALMEKO_FUZZ=ON -DTALMEKO_GUI=OFF \
  -DTALMEKO_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(htmlview_fuzz profile_fuzz colour_set_fuzz); fi
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"
for target in "${targets[@]}"; do
  seeds="$here/fuzz/corpus/${target%_fuzz}"
  work="$build/corpus-$target"
  mkdir -p "$work"
  # Result pages are large: the view is given room to grow its inputs well
  # past the largest seed from the start.
  limits=(-max_len=65536)
  if [ "$target" = htmlview_fuzz ]; then limits=(-max_len=262144 -len_control=0); fi
  echo "== $target for $seconds s"
  ( cd "$build" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      "${limits[@]}" -print_final_stats=1 "$work" "$seeds" )
done
