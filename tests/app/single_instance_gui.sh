#!/usr/bin/env bash
# The installer runs once per session: a second instance started while the
# first shows its window exits with -1 (255 here) and leaves the first alone;
# once the first has closed, a new instance starts and holds the mutex again.
#
#   single_instance_gui.sh WINE_RUN PREFIX SETUP_EXE
#
# PREFIX is a Wine prefix of its own, so no other test's installer shares the
# mutex; its wineserver is stopped at the end. Uses DISPLAY when set, else
# starts an Xvfb of its own.
set -uo pipefail
wine_run=$1 prefix=$2 exe=$3

started=()
xvfb_pid=
cleanup() {
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null; done
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 140 180); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
  [ -n "$xvfb_pid" ] || fail "no free X display"
fi

run() { "$wine_run" --prefix "$prefix" "$@"; }

# The X windows titled "Quorvex" that belong to process $1.
windows_of() { xdotool search --all --pid "$1" --name '^Quorvex$' 2>/dev/null; }

# Starts an instance in the background; its pid lands in $instance.
start_instance() {
  # Started directly (not through a function) so that $! is the process
  # that owns the window: wine-run.sh execs the program in place.
  "$wine_run" --prefix "$prefix" "$exe" &
  instance=$!
  started+=("$instance")
  local _
  for _ in $(seq 1200); do
    [ -n "$(windows_of "$instance")" ] && return 0
    kill -0 "$instance" 2>/dev/null || break
    sleep 0.1
  done
  fail "instance $instance shows no window"
}

# A second instance must leave at once with -1 and touch nothing.
expect_refused() {
  local holder=$1 rc=0
  timeout 120 "$wine_run" --prefix "$prefix" "$exe" || rc=$?
  [ "$rc" -eq 255 ] || fail "second instance exited with $rc, not 255 (-1)"
  kill -0 "$holder" 2>/dev/null || fail "the running instance ended"
  [ -n "$(windows_of "$holder")" ] || fail "the running instance lost its window"
}

# Closes the instance's window as a user would and expects exit code 0.
close_instance() {
  local pid=$1 rc=0
  run taskkill /im "$(basename "$exe")" >/dev/null || fail "taskkill failed"
  for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "instance $pid did not close"
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "closed instance exited with $rc"
}

start_instance
first=$instance
expect_refused "$first"
close_instance "$first"

start_instance
again=$instance
expect_refused "$again"
close_instance "$again"
echo "single instance: refused while running, free again after closing"
