#!/usr/bin/env python3
"""Runs a command beside a small HTTP server on 127.0.0.1 that this script starts and stops.

    loopback-server.py COMMAND [ARGS...]

The server listens on a free port and is named to the command in QV_TEST_SERVER
("http://127.0.0.1:PORT"). Each first path segment is a case of CASES below: "/v10500/quorvex/
version.txt" serves the version file of case "v10500". "/__count/CASE" answers how many requests
the case has seen (itself not counted), "/__count/" the total. The request loop is bounded: the
server serves at most MAX_REQUESTS requests and ends with the command; a held request ends early
then. The command's exit code is this script's.
"""
import http.server
import os
import subprocess
import sys
import threading
import time

MAX_REQUESTS = 2000
HOLD_SECONDS = 30

V = "/quorvex/version.txt"
W = "/quorvex/whatsnew.txt"
S = "/tk/wpsitelist.txt"

# case -> path -> (body bytes, content length header or None for none)
def plain(text):
    data = text.encode("latin-1")
    return (data, str(len(data)))

CASES = {
    "v10400": {V: plain("10400"), W: plain("Nothing new")},
    "v10500": {V: plain("10500"), W: plain("Quorvex 1.05 is out.\r\nFaster rotation.")},
    "v2": {V: plain("2"), W: plain("Never shown")},
    "nowhatsnew": {V: plain("10500"), W: plain("")},
    "nolength": {V: (b"10500", None), W: (b"Never shown", None)},
    "abc": {V: (b"10500", "abc"), W: plain("Never shown")},
    "minus5": {V: (b"10500", "-5"), W: plain("Never shown")},
    "huge": {V: (b"10500", "99999999999"), W: plain("Never shown")},
    "short": {V: (b"10500", "100"), W: (b"Short news", "4096")},
    "zero": {V: plain("105\x0000"), W: plain("Never shown")},
    "sites": {S: plain("wallpaper=http://sites.example/wp\r\n")},
    "emptysites": {S: plain("")},
    "off": {V: plain("10500"), W: plain("Must not be fetched"), S: plain("Must not be fetched")},
    "slow": {},  # every path: held HOLD_SECONDS, then the version 10500
}

counts = {}
served = [0]
lock = threading.Lock()
stopping = threading.Event()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # one request per connection: the body ends with it

    def log_message(self, *args):
        pass

    def do_GET(self):
        parts = self.path.split("/", 2)
        case = parts[1] if len(parts) > 1 else ""
        rest = "/" + parts[2] if len(parts) > 2 else "/"
        if case == "__count":
            with lock:
                n = sum(counts.values()) if rest == "/" else counts.get(rest[1:], 0)
            return self.answer(plain(str(n)))
        with lock:
            served[0] += 1
            counts[case] = counts.get(case, 0) + 1
        if case == "slow":
            stopping.wait(HOLD_SECONDS)
            return self.answer(plain("10500"))
        entry = CASES.get(case, {}).get(rest)
        if entry is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.answer(entry)

    def answer(self, entry):
        body, length = entry
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        if length is not None:
            self.send_header("Content-Length", length)
        self.end_headers()
        try:
            self.wfile.write(body)
        except OSError:
            pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def verify_request(self, request, client_address):
        return served[0] < MAX_REQUESTS


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1})
    thread.start()
    env = dict(os.environ, QV_TEST_SERVER="http://127.0.0.1:%d" % port)
    for name in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy"):
        env.pop(name, None)
    print("loopback server on 127.0.0.1:%d" % port, flush=True)
    try:
        rc = subprocess.call(sys.argv[1:], env=env)
    finally:
        stopping.set()
        server.shutdown()
        server.server_close()
        thread.join(5)
        with lock:
            print("loopback server: %d requests %s" % (served[0], dict(sorted(counts.items()))),
                  flush=True)
    return rc


if __name__ == "__main__":
    sys.exit(main())
