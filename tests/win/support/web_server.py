#!/usr/bin/env python3
"""A web server on 127.0.0.1 for the Windows tests, run beside Wine.

    web_server.py ROOT STATE

Serves the files under ROOT on a free port, writes the port to STATE/port
once it listens, appends each request line to STATE/requests.log, and ends
when STATE/stop appears, when STATE goes away, or after ten minutes.
"""
import functools
import http.server
import os
import sys
import threading
import time

LIFETIME_SECONDS = 600


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    state = None

    def log_message(self, format, *args):
        pass

    def log_request(self, code="-", size="-"):
        with open(os.path.join(self.state, "requests.log"), "a", encoding="utf-8") as log:
            log.write(f"{self.requestline} {code}\n")


def main():
    root, state = sys.argv[1], sys.argv[2]
    QuietHandler.state = state
    handler = functools.partial(QuietHandler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1},
                     daemon=True).start()
    port_file = os.path.join(state, "port")
    with open(port_file + ".new", "w", encoding="ascii") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".new", port_file)
    deadline = time.monotonic() + LIFETIME_SECONDS
    stop_file = os.path.join(state, "stop")
    while time.monotonic() < deadline and os.path.isdir(state) and not os.path.exists(stop_file):
        time.sleep(0.1)
    server.shutdown()
    server.server_close()
    try:
        os.remove(port_file)
    except OSError:
        pass


if __name__ == "__main__":
    main()
