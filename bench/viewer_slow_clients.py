#!/usr/bin/env python3
# The viewer under slow clients: 150 connections that each send a header line every 3 s, then ten real requests
# timed beside them, and how many of the slow connections the server has shut by then.
#
#   bench/viewer_slow_clients.py BUILD_DIR/vobreports DEMO.sqlite
import socket, subprocess, sys, time, threading, re, urllib.request
p = subprocess.Popen([sys.argv[1], 'view', '--no-browser', '--today', '2024-06-30', '--db', sys.argv[2]], stdout=subprocess.PIPE, text=True)
url = None
while not url:
    m = re.search(r'serving at (\S+)', p.stdout.readline())
    if m: url = m.group(1)
port = int(re.search(r':(\d+)/', url).group(1))
token = url.split('token=')[1]
socks = []
for i in range(150):
    s = socket.create_connection(('127.0.0.1', port)); s.sendall(b'GET /api/reports?token=' + token.encode() + b' HTTP/1.1\r\n'); socks.append(s)
stop = False
def trickle():
    while not stop:
        time.sleep(3)
        for s in socks:
            try: s.sendall(b'X-Slow: 1\r\n')
            except OSError: pass
threading.Thread(target=trickle, daemon=True).start()
time.sleep(1)
worst = 0
for i in range(10):
    t = time.time(); urllib.request.urlopen(f'http://127.0.0.1:{port}/api/reports?token={token}').read(); worst = max(worst, time.time() - t)
    time.sleep(0.7)
closed = 0
for s in socks:
    s.settimeout(0.01)
    try:
        if s.recv(1) == b'': closed += 1
    except socket.timeout: pass
    except OSError: closed += 1
print(f'150 slow connections: slowest of 10 real requests {worst*1000:.0f} ms; {closed} slow connections shut by the server after ~8 s')
stop = True
p.terminate(); p.wait()
