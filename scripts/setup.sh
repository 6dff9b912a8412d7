#!/usr/bin/env bash
# Installs what building and testing roRezodu needs on Debian 12, cross-builds the
# libraries Debian does not ship for MinGW-w64 (liblzma, GoogleTest, and for kof.exe
# and kof-export.exe x264, libvpx, opus, FFmpeg and libpng) into a cache, and
# builds zlib, libmspack and liblzma with Emscripten for the web player into another,
# and installs axe-core for the browser tests, mediabunny and gifenc for the web
# player's export and tesseract.js for its text index, with npm into four more. Idempotent: a second run only checks and
# takes a few seconds. Prints the MinGW cache.
set -euo pipefail

PACKAGES=(
  cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libgtest-dev googletest libbenchmark-dev liblzma-dev libmspack-dev libpng-dev zlib1g-dev libmp3lame-dev
  libtesseract-dev tesseract-ocr-eng tesseract-ocr-rus nlohmann-json3-dev libfreetype-dev fonts-dejavu-core
  libavcodec-dev libavformat-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
  cabextract gcab xz-utils dpkg-dev python3 nasm
  emscripten chromium chromium-driver python3-selenium
)

RZ_MINGW_PREFIX="${RZ_MINGW_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/mingw-w64}"
STAMP="$RZ_MINGW_PREFIX/.built-v1"
EXPORT_STAMP="$RZ_MINGW_PREFIX/.built-kof-v2"
RZ_LOG_DIR="${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/logs"
RZ_WEB_PREFIX="${RZ_WEB_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/emscripten}"
WEB_STAMP="$RZ_WEB_PREFIX/.built-v1"
RZ_AXE_PREFIX="${RZ_AXE_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/axe-core}"
RZ_MEDIABUNNY_PREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/mediabunny"
RZ_GIFENC_PREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/gifenc"
RZ_TESSERACT_PREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/rorezodu/tesseract"
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
fetch_source() {
  local work="$1" package="$2" apt="$1/apt"
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
  [ -d "$apt/lists/partial" ] && [ -n "$(ls "$apt/lists" 2>/dev/null | grep -v partial)" ] || apt-get "${opts[@]}" update
  (cd "$work" && apt-get "${opts[@]}" source "$package" >/dev/null 2>&1) && return
  # A mirror may lack the newest version's source; any other version listed will do.
  local version
  for version in $(apt-cache "${opts[@]}" showsrc "$package" | sed -n 's/^Version: //p' | sort -u); do
    (cd "$work" && apt-get "${opts[@]}" source "$package=$version" >/dev/null 2>&1) && return
  done
  log "could not fetch the $package source package"
  exit 1
}

unpacked_source() {
  local dir
  dir=$(find "$1" -maxdepth 1 -type d -name "$2-*" | head -n 1)
  [ -n "$dir" ] || { log "could not unpack the $2 source package"; exit 1; }
  echo "$dir"
}

build_liblzma() {
  local work="$1" src
  fetch_source "$work" xz-utils
  src=$(unpacked_source "$work" xz-utils)
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

# Runs one build step with its output in a log of its own; a failure shows the log's end.
logged() {
  local name="$1"
  shift
  mkdir -p "$RZ_LOG_DIR"
  "$@" >"$RZ_LOG_DIR/$name.log" 2>&1 && return
  log "$name failed; the end of $RZ_LOG_DIR/$name.log:"
  tail -n 30 "$RZ_LOG_DIR/$name.log" >&2
  exit 1
}

MINGW_CC=x86_64-w64-mingw32-gcc-posix
MINGW_CXX=x86_64-w64-mingw32-g++-posix
MINGW_HOST=x86_64-w64-mingw32

# Each builder runs in a subshell and chains its steps with &&: under `logged`, set -e
# does not stop a function at its first failure.
build_x264() {
  (cd "$1" && CC=$MINGW_CC ./configure --host=$MINGW_HOST --cross-prefix=$MINGW_HOST- --prefix="$RZ_MINGW_PREFIX" \
     --enable-static --disable-cli --disable-opencl --bit-depth=8 --disable-avs --disable-swscale --disable-lavf \
     --disable-ffms --disable-gpac --disable-lsmash && make -j"$(nproc)" && make install-lib-static)
}

# Only the VP9 encoder: kof-export neither decodes nor writes VP8.
build_libvpx() {
  (cd "$1" && CROSS=$MINGW_HOST- CC=$MINGW_CC CXX=$MINGW_CXX ./configure --target=x86_64-win64-gcc \
     --prefix="$RZ_MINGW_PREFIX" --as=nasm --enable-static --disable-shared --disable-vp8 --disable-vp9-decoder \
     --disable-examples --disable-tools --disable-docs --disable-unit-tests && make -j"$(nproc)" && make install)
}

# Without the stack protector and _FORTIFY_SOURCE (which opus adds unless it is set):
# both would ask every program linking it for libssp.
build_opus() {
  (cd "$1" && ./configure --host=$MINGW_HOST CC=$MINGW_CC "CFLAGS=-O2 -D_FORTIFY_SOURCE=0" \
     --prefix="$RZ_MINGW_PREFIX" --enable-static \
     --disable-shared --disable-doc --disable-extra-programs --disable-stack-protector && make -j"$(nproc)" &&
     make install)
}

# FFmpeg with only what kof-export uses: its encoders and muxers, the MP3 decoder for
# the films' sound, the demuxers that read back an earlier export's comment, the
# palette filters of GIF (and the scale and format filters a graph may insert), the
# file protocol. Nothing is autodetected, so nothing else is linked.
build_ffmpeg() {
  (cd "$1" && PKG_CONFIG_LIBDIR="$RZ_MINGW_PREFIX/lib/pkgconfig" ./configure --prefix="$RZ_MINGW_PREFIX" \
     --target-os=mingw32 --arch=x86_64 --cross-prefix=$MINGW_HOST- --cc=$MINGW_CC --cxx=$MINGW_CXX \
     --pkg-config=pkg-config --pkg-config-flags=--static --enable-gpl --enable-static --disable-shared \
     --disable-programs --disable-doc --disable-debug --disable-network --disable-autodetect --enable-w32threads \
     --disable-everything --disable-avdevice --disable-postproc --enable-libx264 --enable-libvpx --enable-libopus \
     --enable-encoder=libx264,libx264rgb,libvpx_vp9,libopus,aac,flac,gif \
     --enable-decoder=mp3,mp3float --enable-parser=mpegaudio \
     --enable-muxer=mp4,webm,matroska,gif --enable-demuxer=mp3,mov,matroska,gif \
     --enable-bsf=aac_adtstoasc,vp9_superframe \
     --enable-filter=buffer,buffersink,palettegen,paletteuse,format,scale,null \
     --enable-protocol=file && make -j"$(nproc)" && make install)
}

# kof frames' libpng, with MinGW-w64's zlib.
build_libpng1.6() {
  (cd "$1" && ./configure --host=$MINGW_HOST CC=$MINGW_CC --prefix="$RZ_MINGW_PREFIX" --enable-static \
     --disable-shared && make -j"$(nproc)" libpng16.la && make install-libLTLIBRARIES install-pkgconfigDATA \
     install-nodist_pkgincludeHEADERS install-pkgincludeHEADERS && ln -sf libpng16/png.h libpng16/pngconf.h \
     libpng16/pnglibconf.h "$RZ_MINGW_PREFIX/include/")
}

# kof.exe's and kof-export.exe's libraries, from Debian's source packages, in the order
# they need each other; one already in the cache is kept.
build_kof_libraries() {
  local work="$1" package library
  mkdir -p "$work"
  for package in x264:libx264.a libvpx:libvpx.a opus:libopus.a ffmpeg:libavcodec.a libpng1.6:libpng16.a; do
    library=${package#*:}
    package=${package%%:*}
    [ -e "$RZ_MINGW_PREFIX/lib/$library" ] && continue
    fetch_source "$work" "$package"
    logged "$package" "build_$package" "$(unpacked_source "$work" "$package")"
  done
}

# The web player's three C libraries (zlib, libmspack, liblzma), built with Emscripten from the same Debian sources.
# Emscripten's JavaScript tools need Debian's node modules (acorn) on NODE_PATH. xz's
# CMake cannot run its endianness probe under Emscripten (wasm is little-endian), and its
# program symlinks clash with Emscripten's .js executables.
build_web_libraries() {
  local work="$1" src
  export NODE_PATH=/usr/share/nodejs
  mkdir -p "$RZ_WEB_PREFIX/lib" "$RZ_WEB_PREFIX/include"
  fetch_source "$work" zlib
  src=$(unpacked_source "$work" zlib)
  (cd "$src" && emconfigure ./configure --static --prefix="$RZ_WEB_PREFIX" && emmake make -j"$(nproc)" libz.a &&
     emmake make install) >"$work/zlib.log" 2>&1 || { tail -n 20 "$work/zlib.log" >&2; exit 1; }
  fetch_source "$work" libmspack
  src=$(unpacked_source "$work" libmspack)
  (cd "$src" && emconfigure ./configure --host=wasm32-unknown-emscripten --disable-shared --enable-static \
     --prefix="$RZ_WEB_PREFIX" CFLAGS=-O2 && emmake make -j"$(nproc)" && emmake make install) >"$work/mspack.log" 2>&1 ||
    { tail -n 20 "$work/mspack.log" >&2; exit 1; }
  fetch_source "$work" xz-utils
  src=$(unpacked_source "$work" xz-utils)
  emcmake cmake -S "$src" -B "$work/xz-web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DHAVE_is_big=ON -Dis_big=0 -DCREATE_XZ_SYMLINKS=OFF -DCREATE_LZMA_SYMLINKS=OFF >"$work/xz-web.log" 2>&1 ||
    { tail -n 20 "$work/xz-web.log" >&2; exit 1; }
  cmake --build "$work/xz-web" --target liblzma >/dev/null
  cp "$work/xz-web/liblzma.a" "$RZ_WEB_PREFIX/lib/"
  cp -r "$src/src/liblzma/api/lzma.h" "$src/src/liblzma/api/lzma" "$RZ_WEB_PREFIX/include/"
}

# An npm package at the version a lock file pins, into a cache of its own; installed
# again only when the lock file changes.
install_pinned() {
  local folder="$1" prefix="$2" installed="$3"
  cmp -s "$folder/package-lock.json" "$prefix/package-lock.json" && [ -f "$prefix/node_modules/$installed" ] && return
  log "installing $(dirname "$installed") with npm into $prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  cp "$folder/package.json" "$folder/package-lock.json" "$prefix/"
  (cd "$prefix" && npm ci --no-audit --no-fund --loglevel=error >&2)
}

# axe-core, the accessibility checker the browser tests run in the page, at the version
# tests/web/axe/package-lock.json pins (never into build/web: the page does not ship it).
install_axe() { install_pinned "$HERE/tests/web/axe" "$RZ_AXE_PREFIX" axe-core/axe.min.js; }

# mediabunny, the muxer of the page's export, which the web build copies into build/web.
install_mediabunny() {
  install_pinned "$HERE/web/mediabunny" "$RZ_MEDIABUNNY_PREFIX" mediabunny/dist/bundles/mediabunny.min.cjs
}

# gifenc, the GIF encoder of the page's export, which the web build copies into build/web.
install_gifenc() { install_pinned "$HERE/web/gifenc" "$RZ_GIFENC_PREFIX" gifenc/dist/gifenc.js; }

# tesseract.js, its core and its English data, with which the page makes a film's text
# index; the web build copies them into build/web/tesseract.
install_tesseract_js() {
  install_pinned "$HERE/web/tesseract" "$RZ_TESSERACT_PREFIX" tesseract.js/dist/tesseract.min.js
}

command -v npm >/dev/null || PACKAGES+=(npm)
install_packages
install_axe
install_mediabunny
install_gifenc
install_tesseract_js
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -e "$STAMP" ]; then
  log "cross-building liblzma and GoogleTest into $RZ_MINGW_PREFIX (a few minutes, once)"
  rm -rf "$RZ_MINGW_PREFIX"
  build_liblzma "$work"
  build_googletest "$work"
  touch "$STAMP"
fi
if [ ! -e "$EXPORT_STAMP" ]; then
  log "cross-building x264, libvpx, opus, FFmpeg and libpng into $RZ_MINGW_PREFIX (about 7 minutes, once)"
  started=$SECONDS
  build_kof_libraries "$work/kof"
  log "x264, libvpx, opus, FFmpeg and libpng took $((SECONDS - started)) s"
  touch "$EXPORT_STAMP"
fi
if [ ! -e "$WEB_STAMP" ]; then
  log "building zlib, libmspack and liblzma with Emscripten into $RZ_WEB_PREFIX (a few minutes, once)"
  rm -rf "$RZ_WEB_PREFIX"
  mkdir -p "$work/web"
  build_web_libraries "$work/web"
  touch "$WEB_STAMP"
fi
echo "$RZ_MINGW_PREFIX"
