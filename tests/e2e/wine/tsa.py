#!/usr/bin/env python3
"""tsa.py CONFIG PORTFILE: an RFC 3161 time-stamp authority for the signing
test, on the loopback address. Each POSTed request is answered by
`openssl ts -reply -config CONFIG` (the authority's certificate, key and
policy are in CONFIG's [tsa] section). Listens on a free port, which it
writes into PORTFILE once it is ready; runs until it is ended."""
import http.server
import os
import subprocess
import sys
import tempfile

config, portfile = sys.argv[1], sys.argv[2]


class Authority(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.TemporaryDirectory() as folder:
            asked, answer = os.path.join(folder, "query.tsq"), os.path.join(folder, "reply.tsr")
            with open(asked, "wb") as f:
                f.write(query)
            done = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", asked,
                                   "-out", answer], capture_output=True).returncode == 0
            reply = open(answer, "rb").read() if done else b""
        self.send_response(200 if done else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Authority)
with open(portfile + ".tmp", "w") as f:
    f.write(str(server.server_port))
os.rename(portfile + ".tmp", portfile)
server.serve_forever()
