#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# A small rush of bookings (200 patients, 100 places, kept-alive connections) against
# rv-service under one fault, then the books checked against the database: every booking a
# patient was told of is live and listed, none refused is present, no place sold twice, and
# the free places add up. Usage: cluster_rush.py FAULT CLUSTER_SCRIPT RV_SERVICE
import http.client, json, os, random, resource, signal, sqlite3, subprocess, sys, tempfile
import threading, time

BUSY, EXPIRED = "服务暂时不可用，请稍后再试", "登录已失效，请重新登录"
CLIENTS, PLACES, SPREAD = 200, 100, 3.0


def cipher(data, key, decrypt=False):
    args = ["openssl", "enc", "-des-ede3", "-K", key, "-nosalt"] + (["-d"] if decrypt else [])
    return subprocess.run(args, input=data, capture_output=True, check=True, timeout=10).stdout


class Client:
    """One patient on one kept-alive connection; a request is never sent twice."""
    def __init__(self, port, user):
        self.conn, self.user = http.client.HTTPConnection("127.0.0.1", port, timeout=20), user

    def call(self, code, body):
        name, key, _ = self.user
        message = json.dumps({"head": {"trcode": code}, "body": body}, ensure_ascii=False)
        form = f"yhm={name}&jym={code}&bwnr=" + cipher(message.encode(), key).hex()
        try:
            self.conn.request("POST", "/hrzp2/ComService", form.encode(),
                              {"Content-Type": "application/x-www-form-urlencoded"})
            reply = self.conn.getresponse().read()
        except (OSError, http.client.HTTPException):
            self.conn.close()
            return None
        text = reply if reply.startswith(b"{") else cipher(bytes.fromhex(reply.decode()), key, True)
        envelope = json.loads(text)
        return envelope["head"]["succflag"] == "0", envelope["head"]["retmsg"], envelope["body"]


class Store:
    def __init__(self, pg_port=None, path=None):
        self.pg_port, self.path = pg_port, path

    def rows(self, sql):
        if self.path:
            with sqlite3.connect(self.path, timeout=30) as db:
                return [[str(v) for v in row] for row in db.execute(sql)]
        out = subprocess.run(["psql", "-h", "127.0.0.1", "-p", self.pg_port, "-U", "rv", "-d", "rv",
                              "-AtF", "|", "-c", sql], capture_output=True, text=True, check=True,
                             timeout=30).stdout
        return [line.split("|") for line in out.splitlines() if line]


def prepare(store):
    """Patients with live login keys, written straight into the store, and 100 free places."""
    users = [(f"rush{i:04d}", os.urandom(24).hex()) for i in range(CLIENTS)]
    values = ",".join(f"('{n}','-','压测','330102199001011234','13900000000','{k}','2026-01-01')"
                      for n, k in users)
    store.rows("INSERT INTO users (yhm, password, xm, sfzhm, sjhm, gzmy, created) VALUES " + values)
    ids = dict(store.rows("SELECT yhm, yhid FROM users WHERE yhm LIKE 'rush%'"))
    places = store.rows("SELECT t.pbid, t.fzxh FROM slots t JOIN schedules s ON s.pbid = t.pbid"
                        " WHERE s.jlzt = 0 AND s.kyrs > 0 AND s.jzrq > '" + time.strftime("%Y-%m-%d")
                        + "' ORDER BY t.pbid, t.fzxh LIMIT " + str(PLACES))
    return [(n, k, ids[n]) for n, k in users], places


def free_places(store, places):
    pbids = ",".join(sorted({f"'{p}'" for p, _ in places}))
    return dict(store.rows(f"SELECT pbid, kyrs FROM schedules WHERE pbid IN ({pbids})"))


def rush(port, users, places, fault):
    outcomes, messages = [None] * CLIENTS, []

    def patient(i):
        time.sleep(SPREAD * i / CLIENTS)
        client = Client(port, users[i])
        listed = client.call("C002", {"yhid": users[i][2]})  # opens the kept-alive connection
        pbid, fzxh = places[i % len(places)]
        reply = client.call("C001", {"pbid": pbid, "fzxh": fzxh, "yhid": users[i][2],
                                     "yzhm": "570461"})
        messages.extend(r[1] for r in (listed, reply) if r)
        outcomes[i] = reply

    threads = [threading.Thread(target=patient, args=(i,)) for i in range(CLIENTS)]
    for t in threads:
        t.start()
    time.sleep(SPREAD / 3)
    probe = fault()
    for t in threads:
        t.join(60)
    assert not any(t.is_alive() for t in threads), "a patient hung past 60 s"
    return outcomes, messages, probe


def check(port, store, users, places, before, outcomes, messages):
    assert EXPIRED not in messages, "a patient was sent back to the login"
    live = store.rows("SELECT b.yhid, b.yylsh, t.pbid, t.fzxh FROM bookings b JOIN slots t"
                      " ON t.id = b.slot WHERE b.yyzt = '0' AND b.yhid IN ("
                      + ",".join(u[2] for u in users) + ")")
    by_user = {row[0]: row for row in live}
    assert len(by_user) == len(live), "a patient holds two bookings"
    assert len({(r[2], r[3]) for r in live}) == len(live), "a place was sold twice"
    told = 0
    for user, outcome in zip(users, outcomes):
        if outcome and outcome[0]:
            told += 1
            yylsh = outcome[2]["list"][0]["yylsh"]
            assert by_user.get(user[2], [None, None])[1] == yylsh, "told of a booking that is absent"
            listed = Client(port, user).call("C002", {"yhid": user[2]})
            assert listed and yylsh in json.dumps(listed[2]), "a booking is not listed"
        elif outcome and outcome[1] != BUSY:
            assert user[2] not in by_user, "refused, yet the booking is present"
    after = free_places(store, places)
    for pbid, free in before.items():
        taken = sum(1 for r in live if r[2] == pbid)
        assert int(after[pbid]) + taken == int(free), f"the places of {pbid} do not add up"
    assert told > 0, "no booking went through"
    print(f"told {told}, live {len(live)}, busy {messages.count(BUSY)}, unknown "
          f"{outcomes.count(None)}")


def back_within(port, user, seconds):
    """Seconds until a logged-in request is served again; fails past the bound."""
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        reply = Client(port, user).call("C002", {"yhid": user[2]})
        assert not reply or reply[1] != EXPIRED, "sent back to the login during an outage"
        if reply and reply[0]:
            return time.monotonic() - start
        time.sleep(0.2)
    raise AssertionError(f"not serving again {seconds} s after the database's return")


def run_cluster(fault, script, work):
    out = subprocess.run([script, "start", work], capture_output=True, text=True, timeout=120)
    assert out.returncode == 0, "cluster did not start: " + out.stderr
    port = int(out.stdout.strip().splitlines()[-1].rsplit(":", 1)[1])
    store = Store(pg_port=open(os.path.join(work, "ports/postgresql")).read().strip())
    users, places = prepare(store)
    before = free_places(store, places)

    def inject():
        if fault == "kill-service":
            subprocess.run([script, "kill-service", "1", work], check=True, timeout=30)
        elif fault.startswith("restart-"):
            restart = subprocess.Popen([script, "restart", fault.removeprefix("restart-"), work, "2"])
            seen = []  # what a logged-in patient hears while the part is away
            while restart.poll() is None and len(seen) < 200:
                seen.append(Client(port, users[0]).call("C002", {"yhid": users[0][2]}))
                time.sleep(0.3)
            assert restart.wait(60) == 0, "the restart failed"
            return seen, back_within(port, users[0], 5)
        return None

    outcomes, messages, probe = rush(port, users, places, inject)
    if probe:
        seen, back = probe
        heard = [r[1] for r in seen if r]
        assert BUSY in heard and EXPIRED not in heard, f"during the outage: {heard}"
        print(f"serving again {back:.1f} s after the database's return")
    check(port, store, users, places, before, outcomes, messages)
    cancel_one(port, store, users, places, outcomes)


def cancel_one(port, store, users, places, outcomes):
    """A cancel gives the place back."""
    i = next(i for i, o in enumerate(outcomes) if o and o[0])
    yylsh, pbid = outcomes[i][2]["list"][0]["yylsh"], places[i % len(places)][0]
    free = int(free_places(store, places)[pbid])
    reply = Client(port, users[i]).call("C005", {"yhid": users[i][2], "yylsh": yylsh})
    assert reply and reply[0], f"cancel refused: {reply}"
    assert int(free_places(store, places)[pbid]) == free + 1, "the cancel did not free the place"
    assert store.rows(f"SELECT yyzt FROM bookings WHERE yylsh = '{yylsh}'") != [["0"]]


def start_sqlite(service, path, port, limit=None):
    def limited():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a write past the limit fails, EFBIG
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    process = subprocess.Popen([service, "--listen", f"127.0.0.1:{port}", "--db", path],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               preexec_fn=limited if limit else None)
    for _ in range(300):
        try:
            http.client.HTTPConnection("127.0.0.1", port, timeout=2).request("GET", "/lookup?id=1")
            return process
        except OSError:
            time.sleep(0.1)
    process.kill()
    raise AssertionError("rv-service did not start")


def run_sqlite_full(service, work):
    path, port = os.path.join(work, "rv.sqlite"), random.randint(20000, 40000)
    first = start_sqlite(service, path, port)
    first.terminate()
    first.wait(30)
    store = Store(path=path)
    users, places = prepare(store)
    before = free_places(store, places)
    store.rows("PRAGMA wal_checkpoint(TRUNCATE)")
    # The store's files may not grow past a few pages more: the disk is full.
    limit = os.path.getsize(path) + 64 * 1024
    process = start_sqlite(service, path, port, limit)
    try:
        outcomes, messages, _ = rush(port, users, places, lambda: None)
    finally:
        process.terminate()
        process.wait(30)
    assert BUSY in messages, "the disk never filled"
    check_port = random.randint(40001, 60000)
    process = start_sqlite(service, path, check_port)
    try:
        check(check_port, store, users, places, before, outcomes, messages)
    finally:
        process.terminate()
        process.wait(30)


def main():
    fault, script, service = sys.argv[1:4]
    os.environ["RV_SERVICE_BIN"] = service
    with tempfile.TemporaryDirectory(prefix="rv-cluster-") as work:
        os.chmod(work, 0o755)
        try:
            if fault == "sqlite-full":
                run_sqlite_full(service, work)
            else:
                run_cluster(fault, script, work)
        finally:
            subprocess.run([script, "stop", work], timeout=120)


if __name__ == "__main__":
    main()
