#!/bin/sh
# Fails when a file of the view engine includes a header of a room above its
# own. The rooms, lowest first; each may use only the rooms before it.
root="$1"
rooms="base style parse layout print view ui"
rank() {
  i=0
  for r in $rooms; do
    [ "$r" = "$1" ] && { echo $i; return; }
    i=$((i + 1))
  done
  echo 99
}
status=0
for dir in "$root"/htmlview/*/; do
  room=$(basename "$dir")
  own=$(rank "$room")
  if [ "$own" = 99 ]; then
    echo "unknown room: src/htmlview/$room"
    status=1
    continue
  fi
  for file in $(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \)); do
    for used in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"htmlview\/\([a-z_]*\)\/.*/\1/p' "$file" | sort -u); do
      if [ "$(rank "$used")" -gt "$own" ]; then
        echo "${file#"$root"/} includes from the higher room $used"
        status=1
      fi
    done
  done
done
for file in $(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) -path '*/htmlview/*'); do
  if grep -q -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"htmlview/[a-z_]+\.h"' "$file"; then
    echo "${file#"$root"/} includes an engine header outside every room"
    status=1
  fi
done
[ $status -eq 0 ] && echo "every room of the view engine includes only rooms below it"
exit $status
