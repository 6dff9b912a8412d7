#!/usr/bin/env bash
# Installs what building and testing roRezodu needs on Debian 12, and cross-builds the
# two libraries Debian does not ship for MinGW-w64 (liblzma, GoogleTest) into a cache.
# Idempotent: a second run only checks and takes a few seconds.
set -euo pipefail

PACKAGES=(
  cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libgtest-dev googletest libbenchmark-dev liblzma-dev libmspack-dev libpng-dev zlib1g-dev libmp3lame-dev
  libavcodec-dev libavformat-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
  cabextract gcab xz-utils dpkg-dev python3
)

RZ_MINGW_PREFIX="${RZ_MINGW_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/mingw-w64}"
STAMP="$RZ_MINGW_PREFIX/.built-v1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

log() { printf 'setup: %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# apt-get source needs deb-src lines; they are made from the system's own sources in a
# private apt state, so the machine's configuration stays untouched.
fetch_xz_source() {
  local work="$1" apt="$1/apt"
  mkdir -p "$apt/lists/partial" "$apt/sources.list.d"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" > "$apt/sources.list.d/$(basename "$f")"
  done
  if [ -s /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$apt/sources.list"
  else
    : > "$apt/sources.list"
  fi
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root -qq)
  apt-get "${opts[@]}" update
  (cd "$work" && apt-get "${opts[@]}" source xz-utils >/dev/null 2>&1)
}

build_liblzma() {
  local work="$1" src
  fetch_xz_source "$work"
  src=$(find "$work" -maxdepth 1 -type d -name 'xz-utils-*' | head -n 1)
  [ -n "$src" ] || { log "could not unpack the xz-utils source package"; exit 1; }
  cmake -S "$src" -B "$work/xz-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$HERE/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF >/dev/null
  cmake --build "$work/xz-build" --target liblzma >/dev/null
  mkdir -p "$RZ_MINGW_PREFIX/lib" "$RZ_MINGW_PREFIX/include"
  cp "$work/xz-build/liblzma.a" "$RZ_MINGW_PREFIX/lib/"
  cp -r "$src/src/liblzma/api/lzma.h" "$src/src/liblzma/api/lzma" "$RZ_MINGW_PREFIX/include/"
}

build_googletest() {
  local work="$1"
  cmake -S /usr/src/googletest -B "$work/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$HERE/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$RZ_MINGW_PREFIX" \
    -DCMAKE_CXX_FLAGS="-static" >/dev/null
  cmake --build "$work/gtest-build" >/dev/null
  cmake --install "$work/gtest-build" >/dev/null
}

install_packages
if [ ! -e "$STAMP" ]; then
  log "cross-building liblzma and GoogleTest into $RZ_MINGW_PREFIX (a few minutes, once)"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  rm -rf "$RZ_MINGW_PREFIX"
  build_liblzma "$work"
  build_googletest "$work"
  touch "$STAMP"
fi
echo "$RZ_MINGW_PREFIX"
