#!/usr/bin/env bash
# The web player: builds it into build/web/ (the core compiled to WebAssembly with
# Emscripten, and the page), serves it on 127.0.0.1 and prints the URL. With FILM the
# URL opens that film (?film=films/NAME; the film is served from where it lies, not
# copied into build/web/). Publishing is copying build/web/ to any static host.
#
#   scripts/web.sh [FILM]          RZ_WEB_PORT=8080 by default
#   scripts/web.sh --build-only
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh >/dev/null
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"
[ "${1:-}" = "--build-only" ] && exit 0

port="${RZ_WEB_PORT:-8080}"
query=""
if [ $# -ge 1 ]; then
  [ -f "$1" ] || { echo "web.sh: $1: no such file" >&2; exit 2; }
  query="?film=films/$(/usr/bin/python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$(basename "$1")")"
fi
echo "roRezodu in the browser: http://127.0.0.1:$port/index.html$query   (Ctrl+C stops the server)"
# The film's text index, when it has one beside it, is served beside it for Find on screen.
films=("$@")
[ $# -ge 1 ] && [ -f "$1.words.json" ] && films+=("$1.words.json")
exec /usr/bin/python3 scripts/web_server.py build/web "$port" "${films[@]}" >/dev/null
