#!/usr/bin/python3
"""Serves the web player (build/web) on 127.0.0.1 for scripts/web.sh and the browser
tests: the page's files, and under films/ the film files named on the command line
(by their base names), so the page opens them with ?film=films/NAME without their
being copied into the page's folder.

usage: web_server.py ROOT PORT [FILM ...]   (PORT 0: any free port, printed on stdout)
"""
import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    films = {}

    def translate_path(self, path):
        name = path.split("?", 1)[0].split("#", 1)[0]
        if name.startswith("/films/") and name[len("/films/"):] in self.films:
            return self.films[name[len("/films/"):]]
        return super().translate_path(path)

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    root, port = sys.argv[1], int(sys.argv[2])
    Handler.films = {os.path.basename(f): os.path.abspath(f) for f in sys.argv[3:]}
    Handler.extensions_map = {**Handler.extensions_map, ".wasm": "application/wasm", ".js": "text/javascript"}
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=root))
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
