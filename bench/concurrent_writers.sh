#!/usr/bin/env bash
# Several qlxw processes write distinct keys of one INI file at once while snapshots of it are taken
# as the library reads it (under a read lock of the file's first byte); then every key must be there
# and no snapshot torn. Prints the keys lost and the snapshots torn, and for comparison the snapshots
# torn of a reader that takes no lock, which can see a rewrite in place half done.
#
# Usage: bench/concurrent_writers.sh QLXW [WRITERS] [KEYS] [plain|second-name|read-only-folder]
#   second-name:      the file has a second hard link (rewritten in place)
#   read-only-folder: the writers may write the file but not its folder (rewritten in place); run as
#                     root, the writers then run as nobody
set -euo pipefail
qlxw=$(realpath "$1") writers=${2:-8} keys=${3:-200} kind=${4:-plain}
dir=$(mktemp -d) && trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT
mkdir "$dir/ini" && ini="$dir/ini/shared.ini" && printf '[Start]\r\nk=v\r\n' >"$ini"
as=()
case $kind in
  second-name) ln "$ini" "$dir/second.ini" ;;
  read-only-folder)
    chmod 666 "$ini" && chmod 555 "$dir/ini" && chmod 755 "$dir"
    [ "$(id -u)" -eq 0 ] && as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    ;;
esac
# Snapshots, until the writers are done: each read under a read lock of the file's first byte, as the
# library's readers take it, and each read without one. A snapshot is whole when every line is a header
# or a key line of this run and the file ends a line.
python3 - "$ini" "$dir/done" >"$dir/snapshots" <<'PY' &
import fcntl, os, re, sys
ini, done = sys.argv[1], sys.argv[2]
line = re.compile(rb"(\[[A-Za-z0-9]+\]|k=v|w[0-9]+k[0-9]+=value [0-9]+)\r")
def torn(data):
    return bool(data) and (not data.endswith(b"\r\n") or not all(line.fullmatch(l) for l in data.split(b"\n")[:-1]))
counts = [0, 0, 0]
while True:
    last = os.path.exists(done)
    with open(ini, "rb") as f:
        fcntl.lockf(f, fcntl.LOCK_SH, 1, 0)
        counts[1] += torn(f.read())
    with open(ini, "rb") as f:
        counts[2] += torn(f.read())
    counts[0] += 1
    if last:
        break
print(*counts)
PY
snapshotter=$!
pids=()
for ((w = 0; w < writers; ++w)); do
  (for ((k = 0; k < keys; ++k)); do
    "${as[@]}" "$qlxw" --ini "$ini" ini set "S$((k % 4))" "w${w}k$k" "value $k" >/dev/null 2>&1 ||
      echo "writer $w: key $k not written" >&2
  done) &
  pids+=($!)
done
wait "${pids[@]}"
touch "$dir/done" && wait "$snapshotter"
read -r snapshots torn unlocked_torn <"$dir/snapshots"
lost=0
for ((w = 0; w < writers; ++w)); do
  for ((k = 0; k < keys; ++k)); do
    grep -q $'^w'"${w}k$k=value $k"$'\r$' "$ini" || lost=$((lost + 1))
  done
done
if [ "$kind" = second-name ] && ! cmp -s "$ini" "$dir/second.ini"; then
  echo "the second name no longer shows the file"
  lost=$((lost + 1))
fi
echo "$kind: $writers writers x $keys keys: $lost lost, $torn of $snapshots snapshots torn" \
  "(without the lock: $unlocked_torn)"
[ "$lost" -eq 0 ] && [ "$torn" -eq 0 ]
