#!/usr/bin/env bash
# Runs a Windows program of the x86_64 build under wine64, in a Wine prefix of
# the build tree (never the user's own). Used as CTest's cross-compiling
# emulator and by the demo.
#
#   wine-run.sh --prefix DIR PROGRAM.exe [ARGS...]
#
# The prefix is made on first use: quiet logging, no Mono or Gecko prompts,
# and the face "微软雅黑" (and its English name) replaced by an installed CJK
# font so that the skin's Chinese texts draw.
set -euo pipefail

prefix=
if [ "${1:-}" = --prefix ]; then prefix=$2; shift 2; fi
[ -n "$prefix" ] || { echo "wine-run.sh: --prefix DIR is required" >&2; exit 2; }
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX=$prefix WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

if [ ! -f "$prefix/.qv-ready" ]; then
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/.qv-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    face=$(fc-list : family | grep -m1 -o -E 'WenQuanYi Zen Hei|Noto Sans CJK SC' || true)
    if [ -n "$face" ]; then
      reg=$prefix/qv-fonts.reg
      # regedit reads a file with CJK names only as UTF-16LE with a byte-order mark.
      {
        printf '\xff\xfe'
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"微软雅黑"="%s"\r\n"Microsoft YaHei"="%s"\r\n' \
          "$face" "$face" | iconv -f UTF-8 -t UTF-16LE
      } >"$reg"
      wine regedit /S "$reg" >/dev/null 2>&1 || true
    fi
    wineserver -w || true
    touch "$prefix/.qv-ready"
  fi
  exec 9>&-
fi

exec wine "$@"
