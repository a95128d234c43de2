#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# A small rush (200 patients, 100 places, kept-alive connections) under one fault, then the
# books against the database: each booking told is live and listed, none refused is present,
# no place is sold twice, the free places add up. cluster_rush.py FAULT CLUSTER_SH RV_SERVICE
import http.client, json, os, resource, signal, socket, sqlite3, subprocess, sys, tempfile, time
from contextlib import closing
from threading import Thread
BUSY, EXPIRED = "服务暂时不可用，请稍后再试", "登录已失效，请重新登录"
CLIENTS, PLACES, SPREAD = 200, 100, 3.0
started = []  # rv-service processes of the SQLite run, ended however the run ends

def cipher(data, key, decrypt=False):
    args = ["openssl", "enc", "-des-ede3", "-K", key, "-nosalt"] + (["-d"] * decrypt)
    return subprocess.run(args, input=data, capture_output=True, check=True, timeout=10).stdout

def call(port, user, code="C002", body=None, conn=None):
    """One exchange, never sent twice: (ok, message, body), or None when no answer came."""
    conn = conn or http.client.HTTPConnection("127.0.0.1", port, timeout=20)
    message = json.dumps({"head": {"trcode": code}, "body": body or {"yhid": user[2]}})
    try:
        conn.request("POST", "/hrzp2/ComService",
                     f"yhm={user[0]}&jym={code}&bwnr={cipher(message.encode(), user[1]).hex()}")
        reply = conn.getresponse().read()
    except (OSError, http.client.HTTPException):
        return conn.close()
    reply = json.loads(reply if reply[:1] == b"{" else cipher(bytes.fromhex(reply.decode()),
                                                               user[1], True))
    return reply["head"]["succflag"] == "0", reply["head"]["retmsg"], reply["body"]

def prepare(rows):  # patients with live login keys, written into the store; 100 free places
    users = [(f"rush{i:04d}", os.urandom(24).hex()) for i in range(CLIENTS)]
    rows("INSERT INTO users (yhm, password, sfzhm, gzmy, created) VALUES " + ",".join(
        f"('{n}', '-', '330102199001011234', '{k}', '2026-01-01')" for n, k in users))
    ids = dict(rows("SELECT yhm, yhid FROM users WHERE yhm LIKE 'rush%'"))
    places = rows("SELECT t.pbid, t.fzxh FROM slots t JOIN schedules s ON s.pbid = t.pbid WHERE"
                  f" s.jlzt = 0 AND s.kyrs > 0 AND s.jzrq > '{time.strftime('%Y-%m-%d')}'"
                  f" ORDER BY t.pbid, t.fzxh LIMIT {PLACES}")
    return [(n, k, ids[n]) for n, k in users], places, free(rows, places)

def free(rows, places):
    return {p: int(k) for p, k in rows("SELECT pbid, kyrs FROM schedules WHERE pbid IN ("
                                       + ",".join({f"'{p}'" for p, _ in places}) + ")")}

def rush(port, users, places, fault):
    outcomes, heard = [None] * CLIENTS, []
    def patient(i):
        time.sleep(SPREAD * i / CLIENTS)
        conn = http.client.HTTPConnection("127.0.0.1", port, timeout=20)
        listed = call(port, users[i], conn=conn)  # opens the connection the booking reuses
        pbid, fzxh = places[i % PLACES]
        outcomes[i] = call(port, users[i], "C001", {"pbid": pbid, "fzxh": fzxh,
                                                    "yhid": users[i][2], "yzhm": "570461"}, conn)
        heard.extend(r[1] for r in (listed, outcomes[i]) if r)
    threads = [Thread(target=patient, args=(i,)) for i in range(CLIENTS)]
    [t.start() for t in threads]
    time.sleep(SPREAD / 3)
    fault()
    [t.join(60) for t in threads]
    assert not any(t.is_alive() for t in threads), "a patient hung"
    assert EXPIRED not in heard, "a patient was sent back to the login"
    return outcomes, heard

def check(port, rows, users, places, before, outcomes):
    live = rows("SELECT b.yhid, b.yylsh, t.pbid, t.fzxh FROM bookings b JOIN slots t ON"
                " t.id = b.slot JOIN users u ON u.yhid = b.yhid WHERE b.yyzt = '0' AND"
                " u.yhm LIKE 'rush%'")
    held = {r[0]: r[1] for r in live}
    assert len(held) == len(live) == len({(r[2], r[3]) for r in live}), "sold twice"
    told = [(u, o[2]["list"][0]["yylsh"]) for u, o in zip(users, outcomes) if o and o[0]]
    for user, yylsh in told:  # live in the store, and in the patient's own list
        assert held.get(user[2]) == yylsh and yylsh in json.dumps(call(port, user)), yylsh
    assert not [u for u, o in zip(users, outcomes) if o and not o[0] and o[1] != BUSY
                and u[2] in held], "refused, yet the booking is present"
    after = free(rows, places)
    assert all(after[p] + sum(r[2] == p for r in live) == n for p, n in before.items())
    user, yylsh = told[0]
    pbid = next(r[2] for r in live if r[1] == yylsh)
    assert call(port, user, "C005", {"yhid": user[2], "yylsh": yylsh})[0], "cancel refused"
    assert free(rows, places)[pbid] == after[pbid] + 1, "the cancel kept the place"
    print(f"told {len(told)}, live {len(live)}, no answer {outcomes.count(None)}")

def cluster(fault, script, work):
    out = subprocess.run([script, "start", work], capture_output=True, text=True, timeout=120)
    assert out.returncode == 0, "the cluster did not start: " + out.stderr
    port, pg = int(out.stdout.split(":")[-1]), open(work + "/ports/postgresql").read().strip()
    rows = lambda sql: [l.split("|") for l in subprocess.run(
        ["psql", "-h", "127.0.0.1", "-p", pg, "-U", "rv", "-d", "rv", "-AtF|", "-c", sql],
        capture_output=True, text=True, check=True, timeout=30).stdout.splitlines()]
    users, places, before = prepare(rows)
    def inject():
        if fault == "kill-service":
            subprocess.run([script, "kill-service", "1", work], check=True, timeout=30)
        if fault.startswith("restart-"):  # away for two seconds, asked all the while
            restart, heard = subprocess.Popen([script, "restart", fault[8:], work, "2"]), []
            while restart.poll() is None and len(heard) < 200:
                heard.append((call(port, users[0]) or [0, None])[1])
                time.sleep(0.3)
            assert restart.wait(60) == 0 and BUSY in heard and EXPIRED not in heard, heard
            back = time.monotonic()
            while not (call(port, users[0]) or [0])[0]:
                assert time.monotonic() - back < 5, "not serving 5 s after the return"
                time.sleep(0.2)
            print(f"serving again {time.monotonic() - back:.1f} s after the return")
    check(port, rows, users, places, before, rush(port, users, places, inject)[0])

def sqlite_full(service, work):
    path, ports = work + "/rv.sqlite", [socket.create_server(("127.0.0.1", 0)) for _ in "ab"]
    port, later = [s.getsockname()[1] for s in ports]
    [s.close() for s in ports]
    def rows(sql):
        with closing(sqlite3.connect(path, timeout=30)) as db, db:
            return [[str(v) for v in r] for r in db.execute(sql)]
    stop(serve(service, path, port))
    users, places, before = prepare(rows)
    rows("PRAGMA wal_checkpoint(TRUNCATE)")
    # No file of the store may grow past a few pages more: the disk is full.
    full = serve(service, path, port, os.path.getsize(path) + 64 * 1024)
    outcomes, heard = rush(port, users, places, lambda: None)
    stop(full)
    assert BUSY in heard, "the disk never filled"
    serve(service, path, later)
    check(later, rows, users, places, before, outcomes)

def serve(service, path, port, limit=None):
    def limited():  # a write past the limit then fails with EFBIG instead of a signal
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    started.append(subprocess.Popen([service, "--listen", f"127.0.0.1:{port}", "--db", path],
                                    stdout=subprocess.DEVNULL, preexec_fn=limit and limited))
    for _ in range(300):
        if not socket.socket().connect_ex(("127.0.0.1", port)):
            return started[-1]
        time.sleep(0.1)
    raise AssertionError("rv-service did not start")

def stop(process):
    process.terminate()
    process.wait(30)

if __name__ == "__main__":
    fault, script, os.environ["RV_SERVICE_BIN"] = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="rv-cluster-") as work:
        os.chmod(work, 0o755)
        try:
            cluster(fault, script, work) if fault != "sqlite-full" else sqlite_full(
                os.environ["RV_SERVICE_BIN"], work)
        finally:
            subprocess.run([script, "stop", work], timeout=120)
            [stop(p) for p in started if p.poll() is None]
