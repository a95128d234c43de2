#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Starts rv-service past one process on this machine, everything on loopback and under DIR:
# a throw-away PostgreSQL cluster, PgBouncer in transaction pooling before it, N rv-service
# processes on PgBouncer, and HAProxy in front of them. Debian's packages: postgresql,
# pgbouncer, haproxy.
#
#   scripts/cluster.sh start DIR      prints http://127.0.0.1:PORT on its last line when all answer
#   scripts/cluster.sh stop DIR       ends what start started
#   scripts/cluster.sh restart pgbouncer|postgresql DIR [SECONDS_AWAY]
#   scripts/cluster.sh kill-service N DIR
#
# Environment: RV_CLUSTER_PORT (front port; default a free one), RV_CLUSTER_SERVICES (4),
# RV_SERVICE_BIN (the rv-service binary), RV_CLUSTER_PER_ADDRESS (connections one client
# address may hold at the front, 2000), RV_CLUSTER_SERVICE_OPTIONS (more rv-service options),
# RV_CLUSTER_POOL_MODE (PgBouncer's pool mode: transaction, the default, or session),
# RV_CLUSTER_KEEP_ALIVE (seconds the front keeps an idle client connection, 10).
# Run as root, PostgreSQL and PgBouncer run as the user postgres (DIR is then given to it).
set -Eeuo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
templates=$here/packaging/cluster
waitSeconds=30

fail() { echo "cluster: $*" >&2; exit 1; }
usage() { fail "usage: $0 start|stop DIR | restart pgbouncer|postgresql DIR [S] | kill-service N DIR"; }

pgbin() {
    local found
    found=$(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
    [[ -x $found/initdb ]] || found=""
    [[ -n $found ]] || fail "no PostgreSQL server binaries: apt-get install postgresql"
    echo "$found"
}

# Runs a command as the owner of the database files: postgres when we are root.
asOwner() {
    if [[ $(id -u) == 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi
}

freePorts() {
    python3 - "$1" <<'EOF'
import socket, sys
held = []
for _ in range(int(sys.argv[1])):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    held.append(s)
print(" ".join(str(s.getsockname()[1]) for s in held))
EOF
}

# Waits, bounded, until a command succeeds.
waitFor() {
    local what=$1; shift
    local deadline=$((SECONDS + waitSeconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || { echo "cluster: $what did not answer within ${waitSeconds}s" >&2; return 1; }
        sleep 0.2
    done
}

# True when the service at PORT answers the hospital list, which it reads from the database.
answers() {
    curl -sf -X POST --data-binary 'yhm=&jym=B001&bwnr={"body":{},"head":{"trcode":"B001"}}' \
        "http://127.0.0.1:$1/hrzp2/ComService" | grep -q '"succflag":"0"'
}

# True when the pid in FILE is alive and runs a program whose command line has NAME, so that
# a pid reused by something else is never signalled.
alivePid() {
    local file=$1 name=$2 pid
    [[ -f $file ]] || return 1
    pid=$(head -n 1 "$file" 2>/dev/null) || return 1
    [[ $pid =~ ^[0-9]+$ ]] && [[ -r /proc/$pid/cmdline ]] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$name"
}

# Ends the process of a pid file: TERM, up to ten seconds, then KILL.
endPid() {
    local file=$1 name=$2 pid
    if alivePid "$file" "$name"; then
        pid=$(head -n 1 "$file")
        kill -TERM "$pid" 2>/dev/null || true
        for _ in $(seq 50); do alivePid "$file" "$name" || break; sleep 0.2; done
        if alivePid "$file" "$name"; then kill -KILL "$pid" 2>/dev/null || true; fi
    fi
    rm -f "$file"
}

pgctl() { asOwner "$(pgbin)/pg_ctl" "$@"; }

startPostgres() {
    local dir=$1
    pgctl start -D "$dir/pg/data" -l "$dir/postgresql.log" -w -t "$waitSeconds" >/dev/null ||
        { tail -n 5 "$dir/postgresql.log" >&2; return 1; }
    head -n 1 "$dir/pg/data/postmaster.pid" >"$dir/postgresql.pid"
}

stopPostgres() {
    local dir=$1
    if alivePid "$dir/postgresql.pid" postgres; then
        pgctl stop -D "$dir/pg/data" -m fast -t 10 >/dev/null 2>&1 || true
    fi
    endPid "$dir/postgresql.pid" postgres
}

startBouncer() {
    local dir=$1
    local said
    said=$(asOwner pgbouncer -d "$dir/pgbouncer/pgbouncer.ini" 2>&1) || { echo "$said" >&2; return 1; }
    waitFor PgBouncer asOwner "$(pgbin)/psql" -h 127.0.0.1 -p "$(cat "$dir/ports/bouncer")" -U rv -d rv -Atc 'select 1'
}

fill() {
    sed -e "s|@DIR@|$dir|g" -e "s|@PG_PORT@|$pgPort|g" -e "s|@BOUNCER_PORT@|$bouncerPort|g" \
        -e "s|@FRONT_ADDRESS@|127.0.0.1:$frontPort|g" -e "s|@FRONT_MAXCONN@|$frontMaxconn|g" \
        -e "s|@QUEUE_TIMEOUT@|5s|g" -e "s|@PER_ADDRESS@|$perAddress|g" \
        -e "s|@SERVER_MAXCONN@|$serverMaxconn|g" -e "s|@MAX_CLIENTS@|$maxClients|g" \
        -e "s|@POOL_SIZE@|$poolSize|g" -e "s|@BUSY_REPLY@|$templates/busy.http|g" \
        -e "s|@POOL_MODE@|$poolMode|g" -e "s|@KEEP_ALIVE@|${keepAlive}s|g" \
        -e "s|@CLIENT_TIMEOUT@|$((keepAlive > 30 ? keepAlive : 30))s|g" "$1"
}

start() {
    local dir=$1 bin=${RV_SERVICE_BIN:-}
    local services=${RV_CLUSTER_SERVICES:-4} perAddress=${RV_CLUSTER_PER_ADDRESS:-2000}
    [[ -z $bin ]] && for candidate in "$here/build/service/rv-service" "$here/build-rel/service/rv-service" "$here/build-test/service/rv-service"; do
        [[ -x $candidate ]] && bin=$candidate && break
    done
    [[ -x $bin ]] || fail "no rv-service binary: build it or set RV_SERVICE_BIN"
    [[ $services =~ ^[1-9][0-9]?$ ]] || fail "RV_CLUSTER_SERVICES takes 1 to 99"
    command -v haproxy >/dev/null || fail "no haproxy: apt-get install haproxy"
    command -v pgbouncer >/dev/null || fail "no pgbouncer: apt-get install pgbouncer"
    pgbin >/dev/null
    [[ -e $dir/pg ]] && fail "$dir already holds a cluster: stop it and remove the folder first"
    mkdir -p "$dir/ports" "$dir/pg" "$dir/pgbouncer"
    if [[ $(id -u) == 0 ]]; then
        chown -R postgres: "$dir"
        runuser -u postgres -- test -w "$dir" || fail "the user postgres cannot write $dir (a parent folder closed to it?)"
    fi
    # Whatever ends the start early (a failed step, a refusal) ends what it started.
    trap 'echo "cluster: start failed, stopping what was started" >&2; stop "$dir"' EXIT

    local ports frontPort pgPort bouncerPort
    read -r -a ports <<<"$(freePorts $((services + 3)))"
    frontPort=${RV_CLUSTER_PORT:-${ports[0]}}
    pgPort=${ports[1]}
    bouncerPort=${ports[2]}
    echo "$bouncerPort" >"$dir/ports/bouncer"
    echo "$frontPort" >"$dir/ports/front"
    echo "$pgPort" >"$dir/ports/postgresql"

    # A process runs `workers` transactions at once; HAProxy gives it a few times as many
    # requests (the rest wait in its queue), far below the process's own connection cap, which
    # also holds HAProxy's idle kept-alive connections and the health checks.
    local workers=4 cap=1000 serverMaxconn=32
    # HAProxy needs two descriptors per connection it holds.
    local fds frontMaxconn
    fds=$(ulimit -n)
    frontMaxconn=$(((fds - 200) / 2 < 10000 ? (fds - 200) / 2 : 10000))
    # Each thread of a service holds one PgBouncer client connection; a handful of server
    # connections serve them all.
    local maxClients=$((services * (workers + 2) + 50)) poolSize=$((services * 2 + 4))
    # Session pooling keeps a server connection, and the statements prepared on it, for each
    # service thread: fewer round trips and no planning per request, for a few processes.
    local poolMode=${RV_CLUSTER_POOL_MODE:-transaction}
    [[ $poolMode == transaction || $poolMode == session ]] || fail "RV_CLUSTER_POOL_MODE is transaction or session"
    if [[ $poolMode == session ]]; then poolSize=$((services * (workers + 2) + 4)); fi
    local keepAlive=${RV_CLUSTER_KEEP_ALIVE:-10}
    [[ $keepAlive =~ ^[1-9][0-9]{0,3}$ ]] || fail "RV_CLUSTER_KEEP_ALIVE takes 1 to 9999 seconds"

    asOwner "$(pgbin)/initdb" -D "$dir/pg/data" -U rv -A trust -E UTF8 --no-sync >"$dir/initdb.log" 2>&1 ||
        { tail -n 5 "$dir/initdb.log" >&2; false; }
    cat >>"$dir/pg/data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $pgPort
unix_socket_directories = '$dir/pg'
max_connections = $((poolSize + 20))
EOF
    startPostgres "$dir"
    asOwner "$(pgbin)/createdb" -h 127.0.0.1 -p "$pgPort" -U rv rv
    # No statement holds a server connection, and with it a pooler's slot, for long.
    asOwner "$(pgbin)/psql" -q -h 127.0.0.1 -p "$pgPort" -U rv -d rv \
        -c "ALTER ROLE rv SET statement_timeout = '10s'" \
        -c "ALTER ROLE rv SET idle_in_transaction_session_timeout = '10s'"

    echo '"rv" ""' >"$dir/pgbouncer/userlist.txt"
    fill "$templates/pgbouncer.ini" >"$dir/pgbouncer/pgbouncer.ini"
    [[ $(id -u) == 0 ]] && chown -R postgres: "$dir/pgbouncer" "$dir/ports"
    startBouncer "$dir"

    serviceOptions=(--db "postgresql://rv@127.0.0.1:$bouncerPort/rv?pool_mode=$poolMode" --workers "$workers" --max-connections "$cap")
    # A process behind the balancer sees every client at the balancer's address.
    if "$bin" --help 2>/dev/null | grep -q -- --trusted-proxy; then
        serviceOptions+=(--trusted-proxy 127.0.0.1)
    fi
    # shellcheck disable=SC2206
    serviceOptions+=(${RV_CLUSTER_SERVICE_OPTIONS:-})
    local servers="" backups="" i port
    echo "$bin" >"$dir/ports/service-bin"
    for ((i = 1; i <= services; i++)); do
        port=${ports[$((i + 2))]}
        echo "$port" >"$dir/ports/service-$i"
        startService "$dir" "$i"
        servers+="    server s$i 127.0.0.1:$port check"$'\n'
        backups+="    server b$i 127.0.0.1:$port backup"$'\n'
    done
    for ((i = 1; i <= services; i++)); do
        waitFor "rv-service $i" answers "${ports[$((i + 2))]}"
    done

    fill "$templates/haproxy.cfg" | awk -v servers="$servers$backups" '$0 == "@SERVERS@" { printf "%s", servers; next } { print }' >"$dir/haproxy.cfg"
    haproxy -c -q -f "$dir/haproxy.cfg" || fail "haproxy refuses $dir/haproxy.cfg"
    nohup haproxy -f "$dir/haproxy.cfg" >>"$dir/haproxy.log" 2>&1 </dev/null &
    echo $! >"$dir/haproxy.pid"
    sleep 0.3
    alivePid "$dir/haproxy.pid" haproxy || fail "haproxy did not start: $(tail -n 3 "$dir/haproxy.log")"
    waitFor HAProxy answers "$frontPort"
    trap - EXIT
    echo "http://127.0.0.1:$frontPort"
}

startService() {
    local dir=$1 i=$2 bin port
    bin=$(cat "$dir/ports/service-bin")
    port=$(cat "$dir/ports/service-$i")
    nohup "$bin" --listen "127.0.0.1:$port" "${serviceOptions[@]}" >>"$dir/rv-service-$i.log" 2>&1 </dev/null &
    echo $! >"$dir/rv-service-$i.pid"
}

stop() {
    local dir=$1 file
    [[ -d $dir ]] || return 0
    endPid "$dir/haproxy.pid" haproxy
    for file in "$dir"/rv-service-*.pid; do
        [[ -e $file ]] && endPid "$file" rv-service
    done
    endPid "$dir/pgbouncer.pid" pgbouncer
    stopPostgres "$dir"
    return 0
}

restartPart() {
    local part=$1 dir=$2 away=${3:-0}
    case $part in
    pgbouncer) endPid "$dir/pgbouncer.pid" pgbouncer; sleep "$away"; startBouncer "$dir" ;;
    postgresql) stopPostgres "$dir"; sleep "$away"; startPostgres "$dir" ;;
    *) usage ;;
    esac
}

case ${1:-} in
start | stop)
    [[ $# == 2 ]] || usage
    dir=$(realpath -m "$2")
    "$1" "$dir"
    ;;
restart)
    [[ $# -ge 3 ]] || usage
    restartPart "$2" "$(realpath -m "$3")" "${4:-0}"
    ;;
kill-service)
    [[ $# == 3 && $2 =~ ^[0-9]+$ ]] || usage
    dir=$(realpath -m "$3")
    alivePid "$dir/rv-service-$2.pid" rv-service && kill -KILL "$(head -n 1 "$dir/rv-service-$2.pid")"
    rm -f "$dir/rv-service-$2.pid"
    ;;
*) usage ;;
esac
