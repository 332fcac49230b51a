#!/usr/bin/env bash
# The test command: installs what it needs, then builds and tests everything.
#
#   scripts/test.sh
#
# Stages (QV_STAGES selects a subset, e.g. QV_STAGES="host win64"):
#   host   Linux build of the portable core, all tests
#   asan   the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   tsan   the same under ThreadSanitizer
#   fuzz   clang libFuzzer harnesses, each for QV_FUZZ_SECONDS (default 30)
#   win64  x86_64 Windows build; its tests run under wine64 in Xvfb
#   win32  the product, i686 QuorvaneSetup.exe, with its static checks
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
stages=${QV_STAGES:-host asan tsan fuzz win64 win32}
jobs=$(nproc)
fuzz_seconds=${QV_FUZZ_SECONDS:-30}

bash scripts/install-deps.sh
case " $stages " in
  *" win64 "*|*" win32 "*) bash scripts/deps.sh x86_64-w64-mingw32 i686-w64-mingw32 ;;
  *) bash scripts/deps.sh ;;
esac

passed=0 failed=0
summary=()

# run_ctest NAME BUILD_DIR [CTEST_ARGS...]
run_ctest() {
  local name=$1 dir=$2; shift 2
  local log=$dir/ctest.log rc=0
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log" || rc=$?
  local line p f
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    p=$(( $(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line") - f ))
  else
    p=0; f=1
  fi
  [ "$rc" -eq 0 ] || [ "$f" -gt 0 ] || f=1
  passed=$((passed + p)); failed=$((failed + f))
  summary+=("$name: $p passed, $f failed")
}

configure_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

start_display() {
  [ -n "${QV_DISPLAY_STARTED:-}" ] && return 0
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n" QV_DISPLAY_STARTED=1
    trap 'kill $xvfb_pid 2>/dev/null || true; WINEPREFIX=$root/build/win64/wineprefix wineserver -k 2>/dev/null || true' EXIT
    return 0
  done
  echo "no free X display" >&2; return 1
}

for stage in $stages; do
  echo "=== $stage ==="
  case $stage in
    host)
      configure_build build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo
      run_ctest host build/host ;;
    asan)
      configure_build build/host-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=address
      ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest asan build/host-asan ;;
    tsan)
      configure_build build/host-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=thread
      TSAN_OPTIONS=halt_on_error=1 run_ctest tsan build/host-tsan ;;
    fuzz)
      configure_build build/host-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
        -DQV_SANITIZE=address -DQV_FUZZ_SECONDS="$fuzz_seconds" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
      run_ctest fuzz build/host-fuzz -L fuzz ;;
    win64)
      configure_build build/win64 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake"
      start_display
      run_ctest win64 build/win64 ;;
    win32)
      configure_build build/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake"
      run_ctest win32 build/win32 ;;
    *) echo "unknown stage $stage" >&2; exit 2 ;;
  esac
done

echo
printf '%s\n' "${summary[@]}"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
