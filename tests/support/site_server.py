#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for tests: it serves the files of a root
folder and records every request. It never reaches beyond this machine and
ends by itself.

    python3 site_server.py --root DIR --port-file FILE [--record FILE]
        [--max-requests N] [--idle-timeout S] [--overall-timeout S]
        [--no-length] [--trickle S] [--status CODE]
        [--tls-host HOST --tls-dir DIR]

- Listens on 127.0.0.1 on a free port and writes the port number (decimal,
  then a newline) to --port-file once it accepts connections; the file is
  written whole through a rename, so a reader never sees half a number.
  The port file is removed when the server ends: its absence after it was
  seen means the server has stopped.
- Ordinary requests (GET /path?query) and proxy requests with an absolute
  URL (GET http://host/path?query) are both answered from DIR/path; the
  query is ignored for the file's choice. A folder gives its index.html.
  Missing files give 404. GET and HEAD are answered.
- Every request appends one line to --record: the method, one blank, the
  request target exactly as received (for a proxy request the full URL;
  Wine's WinINet names the default port, http://host:80/path).
- Ends after --max-requests requests (default 20), after --idle-timeout
  seconds without a request (default 15), after --overall-timeout seconds
  in all (default 120), or when a file named like the port file plus
  ".stop" appears.
- --no-length: the answer carries no Content-Length; the end of the data is
  the closing of the connection.
- --trickle S: the body is sent one byte every S seconds (the server still
  ends at its overall timeout or stop file).
- --status CODE: every answer has this status and the file's body.
- --tls-host HOST --tls-dir DIR: https through the proxy. Before it listens,
  the server takes its certificate and key from DIR (server.pem,
  server.key); when they are not there, it makes (with Debian's openssl
  command) a new certificate authority and a certificate for HOST signed by
  it, and leaves them there with the authority's certificate (authority.cer,
  DER) for the test to trust or not. A test process keeps one authority:
  Windows reads the trusted roots once per process. A "CONNECT HOST:443" request is recorded as it came, answered with
  200, and TLS with that certificate is then spoken inside the tunnel; the
  request that follows is recorded with its absolute address
  (https://HOST/path). A client that refuses the certificate leaves only the
  CONNECT line. The files in DIR are the test's to remove.

Use from a Wine test (a Windows program that ctest runs through wine): Wine
starts a Unix program given to CreateProcessA with its Unix path, for example
"/usr/bin/python3 /path/to/site_server.py --root ... --port-file ...", and
returns no process handle. The test then waits for the port file, sets
HKCU Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings
ProxyEnable (REG_DWORD 1) and ProxyServer (REG_SZ "127.0.0.1:PORT") before
its first WinINet or urlmon call (WinINet reads them when a session is
opened), and stops the server by creating the ".stop" file and waiting for
the port file to go. Windows paths under Z: reach the same Unix files
(Z:\\tmp\\x is /tmp/x). tests/win32/site_server_process.h does all this.
"""

import argparse
import os
import posixpath
import random
import socket
import socketserver
import ssl
import subprocess
import sys
import tempfile
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, HTTPServer

CONTENT_TYPES = {
    ".txt": "text/plain",
    ".html": "text/html; charset=utf-8",
    ".htm": "text/html; charset=utf-8",
    ".css": "text/css",
}


def parse_arguments():
    parser = argparse.ArgumentParser(description="loopback test web server")
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--record")
    parser.add_argument("--max-requests", type=int, default=20)
    parser.add_argument("--idle-timeout", type=float, default=15.0)
    parser.add_argument("--overall-timeout", type=float, default=120.0)
    parser.add_argument("--no-length", action="store_true")
    parser.add_argument("--trickle", type=float, default=0.0)
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--tls-host")
    parser.add_argument("--tls-dir")
    return parser.parse_args()


def make_certificates(host, work):
    """A new authority and a certificate for host signed by it, in work."""
    def openssl(*arguments):
        subprocess.run(["openssl", *arguments], check=True, capture_output=True, timeout=60)

    def path(name):
        return os.path.join(work, name)

    with open(path("server.ext"), "w", encoding="ascii") as out:
        out.write(f"subjectAltName=DNS:{host}\nbasicConstraints=critical,CA:FALSE\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("ca.key"),
            "-out", path("ca.pem"), "-days", "2", "-subj", "/CN=Velmora Test Authority",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", path("server.key"),
            "-out", path("server.csr"), "-subj", f"/CN={host}")
    openssl("x509", "-req", "-in", path("server.csr"), "-CA", path("ca.pem"),
            "-CAkey", path("ca.key"), "-set_serial", str(random.getrandbits(63)),
            "-days", "2", "-sha256", "-extfile", path("server.ext"), "-out", path("server.pem"))
    with open(path("ca.pem"), encoding="ascii") as authority:
        return ssl.PEM_cert_to_DER_cert(authority.read())


class SiteHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "SiteServer/1"
    # A client that stops talking never holds the one-at-a-time server long.
    timeout = 10
    tunnel_host = None

    def log_message(self, format, *args):  # noqa: A002 - quiet by design
        pass

    def do_GET(self):
        self.answer(send_body=True)

    def do_HEAD(self):
        self.answer(send_body=False)

    def do_CONNECT(self):
        self.record()
        context = self.server.tls_context
        if context is None or self.tunnel_host is not None:
            self.send_plain(405, b"no tunnel here\n", True)
            return
        self.send_response(200, "Connection established")
        self.end_headers()
        try:
            tls = context.wrap_socket(self.connection, server_side=True)
        except (ssl.SSLError, OSError):
            return
        try:
            self.tunnel_host = self.path.rsplit(":", 1)[0]
            self.connection = tls
            self.rfile = tls.makefile("rb")
            self.wfile = socketserver._SocketWriter(tls)
            self.handle_one_request()
        except (ssl.SSLError, OSError):
            pass
        finally:
            tls.close()
        self.close_connection = True

    def answer(self, send_body):
        options = self.server.options
        self.record()
        body, content_type = self.find_file()
        if body is None:
            self.send_plain(404, b"not found\n", send_body)
            return
        self.send_response(options.status)
        self.send_header("Content-Type", content_type)
        if not options.no_length:
            self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        if send_body:
            self.send_body(body)

    def record(self):
        path = self.server.options.record
        if path:
            with open(path, "a", encoding="latin-1") as out:
                target = self.path
                if self.tunnel_host is not None and self.command != "CONNECT":
                    target = f"https://{self.tunnel_host}{self.path}"
                out.write(f"{self.command} {target}\n")

    def find_file(self):
        target = urllib.parse.urlsplit(self.path).path or "/"
        parts = [p for p in posixpath.normpath(urllib.parse.unquote(target)).split("/")
                 if p not in ("", ".", "..")]
        file_path = os.path.join(self.server.options.root, *parts)
        if os.path.isdir(file_path):
            file_path = os.path.join(file_path, "index.html")
        try:
            with open(file_path, "rb") as source:
                body = source.read()
        except OSError:
            return None, None
        extension = os.path.splitext(file_path)[1].lower()
        return body, CONTENT_TYPES.get(extension, "application/octet-stream")

    def send_plain(self, status, body, send_body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if send_body:
            self.wfile.write(body)

    def send_body(self, body):
        options = self.server.options
        try:
            if options.trickle <= 0:
                self.wfile.write(body)
                return
            for i in range(len(body)):
                if self.server.should_stop():
                    return
                self.wfile.write(body[i:i + 1])
                self.wfile.flush()
                time.sleep(options.trickle)
        except (BrokenPipeError, ConnectionResetError):
            pass


class SiteServer(HTTPServer):
    def __init__(self, options):
        super().__init__(("127.0.0.1", 0), SiteHandler)
        self.options = options
        self.tls_context = None
        self.started = time.monotonic()
        self.timeout = 0.1

    def should_stop(self):
        if time.monotonic() - self.started > self.options.overall_timeout:
            return True
        return os.path.exists(self.options.port_file + ".stop")

    def handle_error(self, request, client_address):
        pass


def write_port(path, port):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="ascii") as out:
        out.write(f"{port}\n")
    os.replace(temporary, path)


def serve(server):
    options = server.options
    answered = 0
    last_activity = time.monotonic()
    while answered < options.max_requests and not server.should_stop():
        if time.monotonic() - last_activity > options.idle_timeout:
            break
        try:
            server.handle_request()
        except socket.error:
            break
        if server.requests_seen != answered:
            answered = server.requests_seen
            last_activity = time.monotonic()


def start_tls(server):
    options = server.options
    if not options.tls_host or not options.tls_dir:
        return
    certificate = os.path.join(options.tls_dir, "server.pem")
    key = os.path.join(options.tls_dir, "server.key")
    if not os.path.exists(certificate):
        with tempfile.TemporaryDirectory(prefix="velmora-tls-") as work:
            authority = make_certificates(options.tls_host, work)
            os.replace(os.path.join(work, "server.key"), key)
            os.replace(os.path.join(work, "server.pem"), certificate)
        with open(os.path.join(options.tls_dir, "authority.cer"), "wb") as out:
            out.write(authority)
    server.tls_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    server.tls_context.load_cert_chain(certificate, key)


def main():
    options = parse_arguments()
    server = SiteServer(options)
    try:
        start_tls(server)
    except (OSError, subprocess.SubprocessError, ssl.SSLError) as error:
        print(f"site_server: no https: {error}", file=sys.stderr)
        server.server_close()
        return 1
    server.requests_seen = 0
    original_finish = server.finish_request

    def counted_finish(request, client_address):
        server.requests_seen += 1
        original_finish(request, client_address)

    server.finish_request = counted_finish
    write_port(options.port_file, server.server_address[1])
    try:
        serve(server)
    finally:
        server.server_close()
        for leftover in (options.port_file, options.port_file + ".stop"):
            try:
                os.remove(leftover)
            except OSError:
                pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
