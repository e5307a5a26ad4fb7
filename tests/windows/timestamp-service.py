#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A time-stamping service for the signing check (RFC 3161 over HTTP, on
127.0.0.1, as a certificate authority's would answer): every request is
answered by `openssl ts -reply`, signed with a throw-away time-stamping
certificate made here (WORK-DIR/tsa.pem, for the verification). Prints its
URL once it listens, then serves until it is ended.

    timestamp-service.py WORK-DIR
"""
import http.server
import os
import subprocess
import sys

work = sys.argv[1]
config = os.path.join(work, "tsa.cnf")
with open(config, "w") as f:
    f.write("""[ tsa ]
default_tsa = velitar_test
[ velitar_test ]
serial = %(w)s/tsa.serial
signer_cert = %(w)s/tsa.pem
signer_key = %(w)s/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha256, sha384, sha512
ess_cert_id_alg = sha256
accuracy = secs:1
""" % {"w": work})
with open(os.path.join(work, "tsa.serial"), "w") as f:
    f.write("01\n")
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:3072", "-nodes", "-days", "2", "-subj",
                "/CN=Velitar test time stamps", "-addext", "extendedKeyUsage=critical,timeStamping",
                "-keyout", os.path.join(work, "tsa.key"), "-out", os.path.join(work, "tsa.pem")],
               check=True, capture_output=True)


class Service(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query, reply = os.path.join(work, "query.tsq"), os.path.join(work, "reply.tsr")
        with open(query, "wb") as f:
            f.write(self.rfile.read(int(self.headers["Content-Length"])))
        done = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", query, "-out", reply],
                              capture_output=True)
        if done.returncode:
            self.send_error(500, done.stderr.decode(errors="replace")[-200:])
            return
        body = open(reply, "rb").read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Service)
print("http://127.0.0.1:%d/" % server.server_address[1], flush=True)
server.serve_forever()
