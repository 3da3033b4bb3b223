#!/usr/bin/env bash
# Remote control under load, against the real clock: 50 WebSocket viewers for a
# minute while it counts each get every second in order, and 10,000 state requests
# after a warm-up leave its memory within 1 MiB and its open handles as they were
# (seen from Linux: the Wine process's resident set and its open descriptors). A 10 MiB
# chunk extension or trailer sent before any key is the native server test's.
# TALLYGLASS_LOAD_SECONDS shortens the minute for a quick run.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7365
dir=$(make_app_dir load "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=3600\nremote=local\nremoteport=$PORT\nremotekey=load-control-key\n")
start_clock "$dir" || { finish; exit 1; }
listening() { curl -s -o /dev/null "http://127.0.0.1:$PORT/api/v1/state?key=load-control-key"; }
wait_for 10 "the clock to listen on port $PORT" listening
# This clock's own process: another lane may run a clock of the same name in its own prefix.
ours() { [[ $(tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null) == *TallyglassCountdown.exe* && $(readlink "/proc/$1/cwd") == "$dir" ]]; }
pid=""
for candidate in $(pgrep -f 'TallyglassCountdown.exe'); do ours "$candidate" && pid=$candidate; done
check "the clock's process is found" [ -n "$pid" ]

PYTHONPATH="$E2E_ROOT/tests/e2e" /usr/bin/python3 - "$PORT" "$pid" "${TALLYGLASS_LOAD_SECONDS:-60}" >"$SCREENS/load.log" 2>&1 <<'PYEOF'
import http.client, json, os, sys, threading, time, websocket
from checks import check, finish
port, pid, seconds = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
key = "load-control-key"

def rss_kib():
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))

def open_descriptors():
    return len(os.listdir(f"/proc/{pid}/fd"))

def viewer(seen, stop):
    ws = websocket.create_connection(f"ws://127.0.0.1:{port}/api/v1/ws?key={key}", timeout=10)
    while not stop.is_set():
        state = json.loads(ws.recv())
        if state["phase"] == "counting" and (not seen or seen[-1] != state["remaining"]):
            seen.append(state["remaining"])
    ws.close()

def get(path, connection):
    connection.request("GET", f"{path}?key={key}")
    reply = connection.getresponse()
    return reply.status, reply.read()

# Each phase has a connection of its own: the clock drops one that is silent for 10 s.
get("/api/v1/start", http.client.HTTPConnection("127.0.0.1", port, timeout=10))
stop = threading.Event()
seens = [[] for _ in range(50)]
threads = [threading.Thread(target=viewer, args=(seen, stop)) for seen in seens]
for thread in threads:
    thread.start()
time.sleep(seconds)
stop.set()
for thread in threads:
    thread.join(timeout=15)
in_order = [all(b == a - 1 for a, b in zip(seen, seen[1:])) for seen in seens]
counts = sorted(len(seen) for seen in seens)
check(f"50 viewers for {seconds} s each got every second in order (seconds seen: {counts[0]} to {counts[-1]})",
      all(in_order) and counts[0] >= seconds - 2)

http_client = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
for _ in range(1000):
    get("/api/v1/state", http_client)
rss_before, descriptors_before = rss_kib(), open_descriptors()
statuses = set()
for _ in range(10000):
    statuses.add(get("/api/v1/state", http_client)[0])
http_client.close()
time.sleep(1)
rss_after, descriptors_after = rss_kib(), open_descriptors()
print(f"resident set {rss_before} -> {rss_after} KiB, descriptors {descriptors_before} -> {descriptors_after}")
check("10,000 state requests all answered 200", statuses == {200})
check("the resident set stays within 1 MiB", rss_after - rss_before <= 1024)
check("no handle is left open", descriptors_after <= descriptors_before)
finish()
PYEOF
status=$?
cat "$SCREENS/load.log"
check "the load checks pass" [ "$status" -eq 0 ]
check "the clock runs on" clock_alive
finish
