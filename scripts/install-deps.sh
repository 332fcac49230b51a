#!/usr/bin/env bash
# Installs, by Debian package name, everything the builds, the tests and the
# demo need on a fresh Debian 12 machine. Run as root; safe to run again.
set -euo pipefail

packages=(
  # host build and tests
  build-essential cmake ninja-build pkg-config git ca-certificates
  libcurl4-openssl-dev libjsoncpp-dev libstb-dev zlib1g-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev python3 curl time
  # Windows cross builds (posix thread model is selected by the toolchain files)
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64 libz-mingw-w64-dev dpkg-dev
  # skin packing and image generation
  7zip imagemagick
  # running and looking at the Windows builds
  wine64 wine xvfb xdotool x11-utils fonts-wqy-zenhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# `apt-get source` needs deb-src entries beside the binary ones.
src_list=/etc/apt/sources.list.d/quorvane-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  for f in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$f" ] || continue
    sed -e 's/^Types: deb$/Types: deb-src/' "$f" > "$src_list"
  done
  if [ ! -s "$src_list" ] && [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/quorvane-src.list
    rm -f "$src_list"
  fi
  apt-get update -qq
fi
