#!/usr/bin/env bash
# Prepares the third-party libraries inside the build tree.
#
#   scripts/deps.sh                 sources only (the host build needs the 7z reader's C files)
#   scripts/deps.sh TRIPLET...      also static libraries for those mingw-w64 targets
#
# Sources come from Debian source packages (apt-get source); every library is
# built once per target and version and kept under ${QV_DEPS_DIR:-build/deps}.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps=${QV_DEPS_DIR:-$root/build/deps}
src=$deps/src
jobs=$(nproc)
mkdir -p "$src"

log() { printf 'deps: %s\n' "$*" >&2; }

# Source package -> unpacked folder, once.
source_dir() {
  local pkg=$1 dir
  dir=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | sort | tail -n 1)
  if [ -z "$dir" ]; then
    log "fetching the source package $pkg"
    (cd "$src" && apt-get source -qq "$pkg" >/dev/null 2>&1) || {
      log "apt-get source $pkg failed (are deb-src entries configured? run scripts/install-deps.sh)"; exit 1; }
    dir=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | sort | tail -n 1)
  fi
  printf '%s\n' "$dir"
}

# build_cmake TRIPLET NAME VERSION SOURCE_DIR CMAKE_ARGS...
build_cmake() {
  local triplet=$1 name=$2 version=$3 dir=$4; shift 4
  local prefix=$deps/$triplet stamp=$deps/$triplet/.built-$name-$version
  [ -f "$stamp" ] && return 0
  log "building $name $version for $triplet"
  local bdir=$deps/build/$triplet/$name
  rm -rf "$bdir"
  mkdir -p "$bdir"
  cmake -S "$dir" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$triplet.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$bdir.log" 2>&1 || { tail -n 30 "$bdir.log"; exit 1; }
  cmake --build "$bdir" -j "$jobs" >>"$bdir.log" 2>&1 || { tail -n 30 "$bdir.log"; exit 1; }
  cmake --install "$bdir" >>"$bdir.log" 2>&1 || { tail -n 30 "$bdir.log"; exit 1; }
  rm -rf "$bdir"
  touch "$stamp"
}

sevenzip=$(source_dir 7zip)

for triplet in "$@"; do
  case $triplet in
    i686-w64-mingw32|x86_64-w64-mingw32) ;;
    *) log "unknown target $triplet"; exit 2 ;;
  esac
  prefix=$deps/$triplet
  mkdir -p "$prefix/include/stb"
  cp -u /usr/include/stb/stb_image.h "$prefix/include/stb/"

  curl_src=$(source_dir curl)
  build_cmake "$triplet" curl "$(basename "$curl_src")" "$curl_src" \
    -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
    -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF \
    -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_BROTLI=OFF \
    -DCURL_ZSTD=OFF -DENABLE_UNIX_SOCKETS=OFF -DCURL_ZLIB=ON \
    -DZLIB_INCLUDE_DIR="/usr/$triplet/include" -DZLIB_LIBRARY="/usr/$triplet/lib/libz.a"

  json_src=$(source_dir libjsoncpp)
  build_cmake "$triplet" jsoncpp "$(basename "$json_src")" "$json_src" \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=OFF

  gtest_version=$(dpkg-query -W -f='${Version}' googletest)
  build_cmake "$triplet" googletest "$gtest_version" /usr/src/googletest \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
done
log "ready: $deps ($sevenzip)"
