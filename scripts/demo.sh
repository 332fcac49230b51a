#!/usr/bin/env bash
# The installer's main job, end to end on this machine: builds the product and
# its x86_64 twin, then starts the installer under Wine.
#
#   scripts/demo.sh            headless when no display is set: a virtual X
#                              display, screenshots saved under build/demo/
#
# The x86_64 build is the one that runs here (these machines cannot run 32-bit
# programs); the i686 QuorvaneSetup.exe is built beside it as the product.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
out=$root/build/demo
mkdir -p "$out"

bash scripts/install-deps.sh
bash scripts/deps.sh x86_64-w64-mingw32 i686-w64-mingw32
for arch in x86_64 i686; do
  dir=build/win$([ $arch = x86_64 ] && echo 64 || echo 32)
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=$([ $arch = x86_64 ] && echo Release || echo MinSizeRel) \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
  cmake --build "$dir" -j "$jobs" --target QuorvaneSetup
done

cleanup() {
  WINEPREFIX=$root/build/win64/wineprefix wineserver -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 140 180); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
  headless=1
fi

exe=$root/build/win64/src/app/QuorvaneSetup.exe
echo "demo: starting $exe under Wine on display $DISPLAY"
scripts/wine-run.sh --prefix build/win64/wineprefix "$exe" &
app=$!

if [ -n "${headless:-}" ]; then
  win=
  for _ in $(seq 150); do
    win=$(xdotool search --name '^Quorvex$' 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    sleep 0.2
  done
  [ -n "$win" ] || { echo "demo: the installer window did not appear" >&2; exit 1; }
  sleep 1
  import -window root "$out/01-start.png"
  echo "demo: screenshot $out/01-start.png"
  # Close it the way a user would: the window's close request.
  scripts/wine-run.sh --prefix build/win64/wineprefix taskkill /im QuorvaneSetup.exe >/dev/null 2>&1 || true
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then
    echo "demo: the installer did not close" >&2
    exit 1
  fi
  wait "$app" || true
else
  wait "$app"
fi
