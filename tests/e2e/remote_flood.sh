#!/usr/bin/env bash
# The real clock under a flood: 10 s of 10,000 OSC orders a
# second while a WebSocket watches the count (never more than a second from the true
# time, ticks never starved, an HTTP order still answered). (An automatic move to the
# next segment as one event, so one state for every viewer, is the engine table's; the
# worst messages are the one command table's by every way in, and the Wine suite's on screen.)
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PY=/usr/bin/python3  # Debian's modules (websocket) load only in Debian's Python
PORT=7371
KEY=flood-test-control-key-0123
dir=$(make_app_dir remote-flood "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nremote=local\nremoteport=$PORT\nremotekey=$KEY\nremoteviewkey=flood-test-view-key-456789\n")
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the clock to listen on port $PORT" listening

"$PY" - "$PORT" "$KEY" >"$SCREENS/flood.log" 2>&1 <<'PYEOF'
import json, socket, struct, sys, threading, time, urllib.request, websocket
port, key = int(sys.argv[1]), sys.argv[2]
def osc(address, tags="", *args):
    pad = lambda b: b + b"\0" * (4 - len(b) % 4)
    data = pad(address.encode()) + pad(("," + tags).encode())
    for tag, value in zip(tags, args):
        data += struct.pack(">i", value) if tag == "i" else pad(value)
    return data
def order(path, method="POST"):
    request = urllib.request.Request(f"http://127.0.0.1:{port}/api/v1/{path}?key={key}", method=method)
    started = time.time()
    with urllib.request.urlopen(request, timeout=5) as answer:
        return json.loads(answer.read()), time.time() - started
start, _ = order("start")
t0, r0 = time.time(), start["remaining"]
states, flooding = [], threading.Event()
def watch():
    ws = websocket.create_connection(f"ws://127.0.0.1:{port}/api/v1/ws?key={key}", timeout=5)
    while flooding.is_set() or not states:
        state = json.loads(ws.recv())
        if state.get("phase") == "counting":
            states.append((time.time(), state["remaining"]))
watcher = threading.Thread(target=watch, daemon=True)
flooding.set()
watcher.start()
# 10,000 orders a second for 10 s, in steps of 10 ms: messages that each want a new
# layout, and resumes that change nothing.
packets = [osc("/tallyglass/message", "s", b"Flood %d" % i) for i in range(50)] + [osc("/tallyglass/resume")] * 50
send = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
sent, answered, begin = 0, [], time.time()
while time.time() - begin < 10 and sent < 120000:
    step = time.time()
    for _ in range(100):
        send.sendto(packets[sent % len(packets)], ("127.0.0.1", port))
        sent += 1
    if sent % 20000 == 0:
        _, took = order("resume")  # an order from a page behind the flood
        answered.append(took)
    time.sleep(max(0, 0.01 - (time.time() - step)))
rate = sent / (time.time() - begin)
time.sleep(1.5)
flooding.clear()
during = [(t, r) for t, r in states if begin <= t <= begin + 10]
worst = max((abs(r - (r0 - (t - t0))) for t, r in during), default=99)
gaps = [b[0] - a[0] for a, b in zip(during, during[1:])]
print(f"sent {sent} at {rate:.0f}/s; {len(during)} states during it; worst distance {worst:.2f} s; "
      f"longest gap {max(gaps, default=99):.2f} s; HTTP answers in {['%.2f' % a for a in answered]} s")
sys.exit(0 if rate >= 5000 and len(during) >= 8 and worst <= 1.0 and max(gaps, default=99) <= 1.5
         and answered and max(answered) < 2 else 1)
PYEOF
check "under 10,000 OSC orders a second the shown time stays within a second of the true one" [ $? -eq 0 ]
cat "$SCREENS/flood.log"
check "the clock runs on" clock_alive
finish
