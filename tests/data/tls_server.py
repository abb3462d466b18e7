#!/usr/bin/env python3
"""A TLS server on 127.0.0.1 for the https link-check test, started by the test through Wine.

Usage: tls_server.py FOLDER

Makes a self-signed certificate for "localhost" with openssl (FOLDER/cert.der is what the test adds
to its Wine prefix's root store), then answers every request with "HTTP/1.0 <code> Test", the code
taken from a path "/status/NNN" (200 otherwise); "/moved/NNN?to=LOCATION" adds that "Location" header; "/silent" is never answered (until the client
hangs up). The port goes to FOLDER/port once the server
listens. It stops on its own after a minute, or when FOLDER/stop appears or FOLDER goes.
"""
import os
import socket
import ssl
import subprocess
import sys
import threading
import time

folder = sys.argv[1]
key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"],
               check=True, capture_output=True)
with open(cert) as pem, open(os.path.join(folder, "cert.der"), "wb") as der:
    der.write(ssl.PEM_cert_to_DER_cert(pem.read()))

context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(16)
listener.settimeout(0.2)


def serve(connection):
    try:
        with context.wrap_socket(connection, server_side=True) as tls:
            request = b""
            while b"\r\n\r\n" not in request:
                chunk = tls.recv(4096)
                if not chunk:
                    return
                request += chunk
            path = request.split(b" ")[1].decode()
            if path == "/silent":
                while tls.recv(4096):
                    pass
                return
            if path.startswith("/moved/"):
                code, location = path[len("/moved/"):].split("?to=", 1)
                tls.sendall(b"HTTP/1.0 %s Moved\r\nLocation: %s\r\n\r\n" % (code.encode(), location.encode()))
                return
            code = path[len("/status/"):] if path.startswith("/status/") else "200"
            tls.sendall(b"HTTP/1.0 %s Test\r\nContent-Length: 0\r\n\r\n" % code.encode())
    except (OSError, ssl.SSLError):
        pass  # an untrusting client hangs up during the handshake


with open(os.path.join(folder, "port.tmp"), "w") as out:
    out.write(str(listener.getsockname()[1]))
os.replace(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))

# The test writes "stop" and then removes the folder: either ends the server, so that no process
# outlives the test holding its output open.
deadline = time.time() + 60
while time.time() < deadline and os.path.isdir(folder) and not os.path.exists(os.path.join(folder, "stop")):
    try:
        connection, _ = listener.accept()
    except socket.timeout:
        continue
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
