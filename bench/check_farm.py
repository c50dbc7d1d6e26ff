#!/usr/bin/env python3
"""A loopback farm for the link check: 20 web servers on 127.0.0.1 (20 ports, two of them
https: one with a good certificate, one with a certificate for another name), a port where
nothing listens, and a site of HTML pages whose links cover every behaviour: ok, 404, 410,
500, 301, a chain of 302s, a redirect loop, HEAD refused, 2 s slow, silent, 429 then 200, a
reset, a 50 MB body, https good and wrong-name, refused. It writes the site, the certificate
authority (made with openssl) and expected.json (link -> state), prints "ready", and serves
until killed.

Usage: check_farm.py FOLDER [--links N] [--fast [--ports P,P,...]]
  --fast: only fast links (200 at once), for the links-per-second measure.
  --ports: the site of fast links for servers someone else runs on these ports (nginx): the
           files are written and the script ends without serving.
A request for /__reset forgets which 429 links were answered already, so that every run of a
benchmark meets the same farm.
"""
import asyncio, json, os, random, ssl, subprocess, sys

HOSTS = 20
BIG = 50 * 1024 * 1024

def make_authority(folder):
    script = """set -e
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key \
  -out ca.pem -days 2 -subj /CN=Farm-CA
printf 'subjectAltName=IP:127.0.0.1\\n' > good.ext
printf 'subjectAltName=DNS:wrong.example\\n' > wrong.ext
for n in good wrong; do
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout $n.key \
    -out $n.csr -subj /CN=$n
  openssl x509 -req -in $n.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out $n.pem -days 2 \
    -extfile $n.ext
done"""
    subprocess.run(["sh", "-c", script], cwd=folder, check=True, capture_output=True)

# behaviour -> (share of the links, expected state)
BEHAVIOURS = [
    ("ok", 30, "ok"), ("404", 6, "broken"), ("410", 4, "broken"), ("500", 4, "broken"),
    ("301", 8, "redirected"), ("chain", 6, "redirected"), ("loop", 3, "broken"),
    ("nohead", 6, "ok"), ("slow", 5, "ok"), ("silent", 2, "timeout"), ("429", 5, "ok"),
    ("reset", 3, "broken"), ("big", 2, "ok"), ("tlsgood", 6, "ok"), ("tlswrong", 3, "broken"),
    ("refused", 3, "broken"),
]

seen_429 = set()

async def handle(reader, writer):
    try:
        while True:
            head = await reader.readuntil(b"\r\n\r\n")
            line = head.split(b"\r\n", 1)[0].decode("latin-1")
            method, target = line.split(" ")[0], line.split(" ")[1]
            parts = target.strip("/").split("/")
            kind = parts[0]
            if kind == "__reset":
                seen_429.clear()
            body = b""
            code, extra = 200, ""
            if kind in ("ok", "tlsgood", "tlswrong", "fast"):
                body = b"<html><body>ok</body></html>"
            elif kind in ("404", "410", "500"):
                code = int(kind); body = b"gone"
            elif kind == "301":
                code, extra = 301, "Location: /ok/%s\r\n" % parts[1]
            elif kind == "chain":
                step = int(parts[2]) if len(parts) > 2 else 3
                code = 302
                extra = "Location: %s\r\n" % ("/chain/%s/%d" % (parts[1], step - 1) if step > 1 else "/ok/" + parts[1])
            elif kind == "loop":
                code = 302
                extra = "Location: /loop/%s/%s\r\n" % (parts[1], "b" if parts[-1] == "a" else "a")
            elif kind == "nohead":
                if method == "HEAD":
                    code = 405
                body = b"<html>get works</html>"
            elif kind == "slow":
                await asyncio.sleep(2)
            elif kind == "silent":
                await asyncio.sleep(3600)
            elif kind == "429":
                if target not in seen_429:
                    seen_429.add(target)
                    code, extra = 429, "Retry-After: 1\r\n"
            elif kind == "reset":
                sock = writer.get_extra_info("socket")
                import socket, struct
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                writer.transport.abort()
                return
            elif kind == "big":
                header = "HTTP/1.1 200 OK\r\nContent-Length: %d\r\nContent-Type: application/octet-stream\r\n\r\n" % BIG
                writer.write(header.encode())
                if method != "HEAD":
                    chunk = b"x" * (1 << 20)
                    for _ in range(BIG >> 20):
                        writer.write(chunk)
                        await writer.drain()
                await writer.drain()
                continue
            else:
                code = 404
            reason = {200: "OK", 301: "Moved Permanently", 302: "Found", 404: "Not Found",
                      405: "Method Not Allowed", 410: "Gone", 429: "Too Many Requests",
                      500: "Internal Server Error"}.get(code, "X")
            response = "HTTP/1.1 %d %s\r\n%sContent-Type: text/html\r\nContent-Length: %d\r\n\r\n" % (
                code, reason, extra, len(body))
            writer.write(response.encode() + (b"" if method == "HEAD" else body))
            await writer.drain()
            # An HTTP/1.0 client that did not ask to keep the connection reads to its end.
            if line.endswith("HTTP/1.0") and b"keep-alive" not in head.lower():
                return
    except (asyncio.IncompleteReadError, ConnectionError, IndexError, ValueError):
        pass
    finally:
        try:
            writer.close()
        except Exception:
            pass

async def main():
    folder = sys.argv[1]
    count = int(sys.argv[sys.argv.index("--links") + 1]) if "--links" in sys.argv else 10000
    fast = "--fast" in sys.argv
    os.makedirs(folder + "/site", exist_ok=True)
    servers = []
    ports = []
    given = sys.argv[sys.argv.index("--ports") + 1] if "--ports" in sys.argv else ""
    good = wrong = None
    if not fast:
        make_authority(folder)
        good = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        good.load_cert_chain(folder + "/good.pem", folder + "/good.key")
        wrong = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        wrong.load_cert_chain(folder + "/wrong.pem", folder + "/wrong.key")
    for i in range(HOSTS if not given else 0):
        context = None
        if not fast and i == HOSTS - 2: context = good
        if not fast and i == HOSTS - 1: context = wrong
        server = await asyncio.start_server(handle, "127.0.0.1", 0, ssl=context, backlog=1024)
        servers.append(server)
        ports.append(server.sockets[0].getsockname()[1])
    if given:
        ports = [int(p) for p in given.split(",")]
    # A port where nothing listens: bound, then closed.
    import socket
    s = socket.socket(); s.bind(("127.0.0.1", 0)); refused = s.getsockname()[1]; s.close()

    rng = random.Random(22)
    links = []
    plain = ports[:HOSTS - 2] if not fast else ports
    if fast:
        for n in range(count):
            links.append(("http://127.0.0.1:%d/fast/%d" % (plain[n % len(plain)], n), "ok"))
    else:
        total = sum(share for _, share, _ in BEHAVIOURS)
        for kind, share, state in BEHAVIOURS:
            for n in range(count * share // total):
                if kind == "tlsgood":
                    url = "https://127.0.0.1:%d/tlsgood/%d" % (ports[HOSTS - 2], n)
                elif kind == "tlswrong":
                    url = "https://127.0.0.1:%d/tlswrong/%d" % (ports[HOSTS - 1], n)
                elif kind == "refused":
                    url = "http://127.0.0.1:%d/refused/%d" % (refused, n)
                elif kind == "chain":
                    url = "http://127.0.0.1:%d/chain/%d/3" % (rng.choice(plain), n)
                elif kind == "loop":
                    url = "http://127.0.0.1:%d/loop/%d/a" % (rng.choice(plain), n)
                else:
                    url = "http://127.0.0.1:%d/%s/%d" % (rng.choice(plain), kind, n)
                links.append((url, state))
        while len(links) < count:
            links.append(("http://127.0.0.1:%d/ok/x%d" % (rng.choice(plain), len(links)), "ok"))
        rng.shuffle(links)
    per_page = 100
    pages = []
    for p in range(0, len(links), per_page):
        name = "page%03d.html" % (p // per_page)
        pages.append(name)
        with open(folder + "/site/" + name, "w") as f:
            f.write("<html><body>\n")
            for url, _ in links[p:p + per_page]:
                f.write('<a href="%s">link</a><br>\n' % url)
            f.write("</body></html>\n")
    with open(folder + "/site/index.html", "w") as f:
        f.write("<html><body>\n" + "".join('<a href="%s">%s</a><br>\n' % (n, n) for n in pages) + "</body></html>\n")
    with open(folder + "/expected.json", "w") as f:
        json.dump(dict(links), f)
    with open(folder + "/urls.txt", "w") as f:
        f.write("".join(url + "\n" for url, _ in links))
    with open(folder + "/curl.cfg", "w") as f:
        f.write("".join('url = "%s"\noutput = "/dev/null"\n' % url for url, _ in links))
    print("ready", flush=True)
    if given:
        return
    await asyncio.gather(*(s.serve_forever() for s in servers))

asyncio.run(main())
