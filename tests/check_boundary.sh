#!/bin/sh
# Fails when a source outside the qt/ and ui/ folders includes a Qt header.
root="$1"
hits=$(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) \
        -not -path '*/qt/*' -not -path '*/ui/*' \
        -exec grep -l -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' {} + 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Qt headers included outside qt/ and ui/:"
  echo "$hits"
  exit 1
fi
echo "core sources are free of Qt"
