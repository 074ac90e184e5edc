#!/usr/bin/env python3
"""Serves the browser build on this machine as a web server should: each file compressed when the
build left a .br or .gz beside it and the browser takes that encoding, an ETag on every answer
so that a second visit asks and is told nothing changed, the program's hash-named files cached
for good, the rest checked again on each visit, and the headers a page needs for shared memory
(COOP/COEP). Usage: serve.py DIR [PORT]"""
import email.utils
import functools
import http
import http.server
import os
import re
import sys

# kavorind.<hash>.wasm and friends never change under their names (web_site.py makes them).
FOR_GOOD = re.compile(r"/kavorind\.[0-9a-f]{16}\.(js|wasm|data)$")
ENCODINGS = (("br", ".br"), ("gzip", ".gz"))


class GameRequestHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".data": "application/octet-stream",
        ".js": "text/javascript",
        ".keys": "text/plain",
        ".ico": "image/x-icon",
    }

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cross-Origin-Resource-Policy", "same-origin")
        super().end_headers()

    def accepted_encodings(self):
        offered = self.headers.get("Accept-Encoding", "")
        return {part.split(";")[0].strip() for part in offered.split(",") if "q=0" not in part.replace(" ", "")}

    def chosen_variant(self, path):
        """The file to send for path, with its encoding (None when sent as it is)."""
        accepted = self.accepted_encodings()
        for encoding, suffix in ENCODINGS:
            variant = path + suffix
            if encoding in accepted and os.path.isfile(variant) and \
                    os.path.getmtime(variant) >= os.path.getmtime(path):
                return variant, encoding
        return path, None

    def unchanged_for_browser(self, tag, modified):
        """Whether the browser's copy is this one: by its tag, or (when it sends none) by its date."""
        tags = self.headers.get("If-None-Match")
        if tags is not None:
            return tag in [part.strip() for part in tags.split(",")]
        since = self.headers.get("If-Modified-Since")
        try:
            return since is not None and int(modified) <= email.utils.parsedate_to_datetime(since).timestamp()
        except (TypeError, ValueError):
            return False

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        if not os.path.isfile(path):
            return super().send_head()  # folders and what is missing, as the library answers them
        variant, encoding = self.chosen_variant(path)
        try:
            source = open(variant, "rb")
        except OSError:
            self.send_error(http.HTTPStatus.NOT_FOUND, "File not found")
            return None
        status = os.fstat(source.fileno())
        tag = f'"{status.st_size:x}-{status.st_mtime_ns:x}-{encoding or "identity"}"'
        cache = "public, max-age=31536000, immutable" if FOR_GOOD.search(path) else "no-cache"
        if self.unchanged_for_browser(tag, status.st_mtime):
            source.close()
            self.send_response(http.HTTPStatus.NOT_MODIFIED)
            self.send_header("ETag", tag)
            self.send_header("Cache-Control", cache)
            self.send_header("Vary", "Accept-Encoding")
            self.end_headers()
            return None
        self.send_response(http.HTTPStatus.OK)
        self.send_header("Content-Type", self.guess_type(path))
        if encoding:
            self.send_header("Content-Encoding", encoding)
        self.send_header("Content-Length", str(status.st_size))
        self.send_header("Last-Modified", email.utils.formatdate(status.st_mtime, usegmt=True))
        self.send_header("ETag", tag)
        self.send_header("Cache-Control", cache)
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        return source

    def log_message(self, format, *args):
        pass


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8016  # 0: any free port
    handler = functools.partial(GameRequestHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    print(f"Kavorind is served at http://127.0.0.1:{server.server_port}/ (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
