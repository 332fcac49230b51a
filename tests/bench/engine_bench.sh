#!/usr/bin/env bash
# Engine benchmarks, each against a peer measured in the same run:
#   1. the POSIX downloader fetching 200 MiB from the local download service,
#      against `curl -o` of the same address (ratio = curl's time / ours);
#   2. the report reader on 20 MiB of mixed report lines through a pipe,
#      against `grep -c '='` on the same bytes through a pipe
#      (ratio = grep's time / ours);
#   3. peak resident memory of the downloader fetching a 1 GiB package.
# Each time is the wall time of the whole command, process start included, for
# ours and the peer alike; the best of QV_BENCH_RUNS runs (default 3).
#
#   tests/bench/engine_bench.sh [BUILD_DIR]     (default build/host)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/host}
runs=${QV_BENCH_RUNS:-3}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target qv_download_tool qv_report_tool >/dev/null
download_tool=$build/tests/engine/qv_download_tool
report_tool=$build/tests/engine/qv_report_tool

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

python3 "$root/tests/http/serve.py" --port-file "$work/port" >/dev/null &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
port=$(cat "$work/port")
base="http://127.0.0.1:$port"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { print b - a }'; }
div() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
best() { printf '%s\n' "$@" | sort -g | head -n1; }

echo "== download: 200 MiB from the local service =="
url="$base/bytes/$((200 * 1024 * 1024))"
ours=() theirs=()
for _ in $(seq "$runs"); do
  t0=$(now); "$download_tool" "$url" "$work/ours.bin" >/dev/null; t1=$(now)
  ours+=("$(elapsed "$t0" "$t1")")
  rm -f "$work/ours.bin"
  t0=$(now); curl -s -o "$work/curl.bin" "$url"; t1=$(now)
  theirs+=("$(elapsed "$t0" "$t1")")
  rm -f "$work/curl.bin"
done
o=$(best "${ours[@]}"); c=$(best "${theirs[@]}")
printf 'ours %.3f s   curl -o %.3f s   ratio curl/ours = %.2f (at least 0.9 wanted)\n' \
  "$o" "$c" "$(div "$c" "$o")"

echo "== report reader: 20 MiB of mixed report lines through a pipe =="
python3 - "$work/report.txt" <<'PY'
import sys
lines = [
    "Progress=0.%d\n", "Message=正在复制文件 %d\n", "InstPath=C:\\Program Files\\Quorvane\\%d\n",
    "Detail=copying file number %d of many\n", "StartupStyle=UserStartup\n",
    "TopShowDetention=%d\n", "just some log text without a key %d\n", "UninstEp=C:\\u%d.exe\r\n",
]
out, size, i = [], 0, 0
while size < 20 * 1024 * 1024:
    l = lines[i % len(lines)]
    l = (l % i) if "%d" in l else l
    b = l.encode("utf-8")
    out.append(b); size += len(b); i += 1
out.insert(0, b"Encode=UTF8\n")
out.append(b"State=Success\n")
open(sys.argv[1], "wb").write(b"".join(out))
PY
ours=() theirs=()
for _ in $(seq "$runs"); do
  t0=$(now); "$report_tool" "$work/report.txt" >/dev/null; t1=$(now)
  ours+=("$(elapsed "$t0" "$t1")")
  t0=$(now); cat "$work/report.txt" | grep -c '=' >/dev/null; t1=$(now)
  theirs+=("$(elapsed "$t0" "$t1")")
done
o=$(best "${ours[@]}"); g=$(best "${theirs[@]}")
printf 'ours %.3f s   grep -c %.3f s   ratio grep/ours = %.2f (at least 0.25 wanted)\n' \
  "$o" "$g" "$(div "$g" "$o")"

echo "== peak resident memory downloading 1 GiB =="
url="$base/bytes/$((1024 * 1024 * 1024))"
/usr/bin/time -f '%M' -o "$work/rss" "$download_tool" "$url" "$work/big.bin" >/dev/null
rm -f "$work/big.bin"
rss=$(tail -n1 "$work/rss")
printf 'peak resident %.1f MiB (under 32 MiB wanted)\n' "$(div "$rss" 1024)"
