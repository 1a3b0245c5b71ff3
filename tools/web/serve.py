#!/usr/bin/env python3
"""Serves a game's page on 127.0.0.1 with the two headers that threads in a
page need (cross-origin isolation).
    serve.py FOLDER [PORT]      PORT 0 picks a free one; the URL is printed
    serve.py --plain FOLDER [PORT]   without the headers, as a plain host serves
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    isolate = True
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".js": "text/javascript", ".wasm": "application/wasm", ".data": "application/octet-stream"}

    def end_headers(self):
        if self.isolate:
            self.send_header("Cross-Origin-Opener-Policy", "same-origin")
            self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main(argv):
    isolate = True
    if argv and argv[0] == "--plain":
        isolate, argv = False, argv[1:]
    if not argv or len(argv) > 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder, port = argv[0], int(argv[1]) if len(argv) > 1 else 8000
    handler = functools.partial(type("H", (Handler,), {"isolate": isolate}), directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
