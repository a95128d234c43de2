#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# cluster_rush.py FAULT CLUSTER_SH RV_SERVICE: 200 patients, kept alive, rush 100 places under
# a fault; then each booking told is live and listed, none refused is present, none sold twice.
import http.client, json, os, resource, signal, socket, sqlite3, subprocess, sys, tempfile, time
from threading import Thread
BUSY, EXPIRED = "服务暂时不可用，请稍后再试", "登录已失效，请重新登录"
CLIENTS, PLACES, SPREAD = 200, 100, 3.0
started = []  # the SQLite run's rv-service, ended however the run ends

def cipher(data, key, decrypt=False):
    args = ["openssl", "enc", "-des-ede3", "-K", key, "-nosalt"] + (["-d"] * decrypt)
    return subprocess.run(args, input=data, capture_output=True, check=True, timeout=10).stdout

def call(port, user, code="C002", body=None, conn=None):  # (ok, message, body); None: no answer
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
    account = {"yhm": "new", "mm": "secret1", "xm": "新", "sfzhm": "330102199001011234",
               "sjhm": "13900000000"}  # a registration and a login through the pooler
    user = ("new", "3c9d1e7a55b04f26e8a1c7d902b6f4e13a58c0d7e9f21b64")
    assert call(port, user, "A001", account)[0] and call(port, user, "A002", account)[0]
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
    check(port, rows, users, places, before, rush(port, users, places, inject)[0])

def sqlite_full(work):
    with socket.create_server(("127.0.0.1", 0)) as unused:
        path, port = work + "/rv.sqlite", unused.getsockname()[1]
    rows = lambda sql: [[str(v) for v in r] for r in sqlite3.connect(
        path, timeout=30, isolation_level=None).execute(sql)]  # each statement commits
    started.append(subprocess.Popen(  # SIGXFSZ ignored: a write past the limit fails, EFBIG
        [os.environ["RV_SERVICE_BIN"], "--listen", f"127.0.0.1:{port}", "--db", path],
        preexec_fn=lambda: signal.signal(signal.SIGXFSZ, signal.SIG_IGN)))
    for _ in range(300):  # listening within 30 s, or the run fails on the store
        if socket.socket().connect_ex(("127.0.0.1", port)) == 0:
            break
        time.sleep(0.1)
    users, places, before = prepare(rows)
    rows("PRAGMA wal_checkpoint(TRUNCATE)")
    # No file of the store may grow past a few pages more: the disk is full, until freed.
    limit = os.path.getsize(path) + 64 * 1024
    resource.prlimit(started[0].pid, resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))
    outcomes, heard = rush(port, users, places, lambda: None)
    resource.prlimit(started[0].pid, resource.RLIMIT_FSIZE, (resource.RLIM_INFINITY,) * 2)
    assert BUSY in heard, "the disk never filled"
    check(port, rows, users, places, before, outcomes)

if __name__ == "__main__":
    fault, script, os.environ["RV_SERVICE_BIN"] = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="rv-cluster-") as work:
        os.chmod(work, 0o755)
        try:
            if fault == "sqlite-full":
                sqlite_full(work)
            else:
                cluster(fault, script, work)
        finally:
            subprocess.run([script, "stop", work], timeout=120)
            [p.kill() or p.wait(30) for p in started]
