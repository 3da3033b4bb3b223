#!/usr/bin/env bash
# Remote control of the real clock over 127.0.0.1: the keys made at the first
# start, every HTTP order and its answer, a body too large (413), a WebSocket's
# state at connect, OSC in and feedback out, a two-segment run of show moved by next,
# previous and segment/N, and at exit a close 1001 to the WebSocket and the log beside
# the settings file.
# The routing, key and JSON tables are the native suite's, the pages and their files
# the browser script's, every second in order the load script's; this is the wiring.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PY=/usr/bin/python3  # Debian's modules (websocket) load only in Debian's Python
PORT=7361
FEEDBACK=7362
BASE="http://127.0.0.1:$PORT"

dir=$(make_app_dir remote "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=300\nremote=local\nremoteport=$PORT\nremotefeedback=127.0.0.1:$FEEDBACK\n[show]\nIntro = 5m\nTalk = 20m\n")
ini="$dir/TallyglassCountdown.ini"
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/remote-0-idle.png")
read -r _ _ _ idle_height < <(geometry)  # the first segment's name as the idle title

key_of() { sed -n "s/^$1 *= *//p" "$ini" | tr -d '\r'; }
keys_stored() { [[ $(key_of remotekey | wc -c) -ge 23 && $(key_of remoteviewkey | wc -c) -ge 23 ]]; }
expect 10 "the first start makes both keys and keeps them in the settings file" keys_stored
KEY=$(key_of remotekey)
VIEW=$(key_of remoteviewkey)
check "the two keys differ" [ "$KEY" != "$VIEW" ]
wait_for 10 "the clock to listen on port $PORT" listening

# call <method> <path> [curl options...]: prints the status, a blank, and the body.
call() {
    local method="$1" path="$2"; shift 2
    curl -s -m 5 -X "$method" -o "$SCREENS/body.json" -w '%{http_code}' "$@" "$BASE$path"
    printf ' %s' "$(cat "$SCREENS/body.json")"
}
field() { $PY -c 'import json,sys; v=json.loads(sys.argv[1].split(" ",1)[1])[sys.argv[2]]; print(json.dumps(v))' "$1" "$2"; }
answers() {  # answers <what> <status> <field> <value> <method> <path> [curl options...]
    local what="$1" status="$2" name="$3" value="$4" reply; shift 4
    reply=$(call "$@")
    if [[ ${reply%% *} == "$status" && $(field "$reply" "$name" 2>/dev/null) == "$value" ]]; then ok "$what"; else fail "$what: $reply"; fi
}

answers "the state with the key in the query" 200 phase '"idle"' GET "/api/v1/state?key=$KEY"
reply=$(call GET "/api/v1/state?key=wrong")
check "a wrong key: 401, counted for the log" [ "${reply%% *}" = 401 ]
answers "start answers the counting state" 200 phase '"counting"' POST "/api/v1/start?key=$KEY"
expect 5 "the clock counts on screen" picture_is_not "$idle"
shoot_clock "$SCREENS/remote-1-counting.png" >/dev/null
before=$(field "$(call GET "/api/v1/state?key=$KEY")" remaining)
after=$(field "$(call GET "/api/v1/add/60?key=$KEY")" remaining)
check "add/60 adds a minute ($before -> $after)" holds "after - before >= 59 && after - before <= 60"
read -r _ _ _ one_line < <(geometry)
answers "a message is set, cleaned of control characters" 200 message '"Wrap up now"' GET "/api/v1/message?key=$KEY&text=Wrap%20up%07%20now"
taller() { local h; read -r _ _ _ h < <(geometry); holds "h > $one_line * 5 / 4"; }
expect 5 "the clock grows a second line for the message" taller
shoot_clock "$SCREENS/remote-2-message.png" >/dev/null
# Paused, the picture holds still but for the blink.
call GET "/api/v1/pause?key=$KEY" >/dev/null
with_message=$(shoot_clock "$SCREENS/remote-2-message-paused.png")
answers "flash: the message blinks" 200 flash true GET "/api/v1/flash?key=$KEY"
expect 3 "the message's line goes dark on the clock" picture_is_not "$with_message"
expect 3 "and comes back" picture_is "$with_message"
unflashed() { [[ $(field "$(call GET "/api/v1/state?key=$KEY")" flash) == false ]]; }
expect 8 "the blink ends by itself within five seconds and the state says so" unflashed
check "the clock shows the message as before" picture_is "$with_message"
call GET "/api/v1/resume?key=$KEY" >/dev/null
answers "set/2m acts as New countdown" 200 length 120 GET "/api/v1/set/2m?key=$KEY"
answers "the message stays through a new length" 200 message '"Wrap up now"' GET "/api/v1/state?key=$KEY"
answers "message/clear" 200 message '""' GET "/api/v1/message/clear?key=$KEY"
# set/2m left the clock idle, showing the segment's name as its title again.
one_line_again() { local h; read -r _ _ _ h < <(geometry); holds "h == $idle_height"; }
expect 5 "the clock shrinks back to its idle title without it" one_line_again
call GET "/api/v1/message?key=$KEY&text=Read%20me" >/dev/null
press Delete
deleted() { [[ $(field "$(call GET "/api/v1/state?key=$KEY")" message) == '""' ]]; }
expect 5 "Delete on the clock clears the message" deleted

# A WebSocket viewer: the state at connect (each second in order is the load script's);
# OSC from this machine adds a minute, and the feedback port hears the state.
"$PY" - "$PORT" "$KEY" "$FEEDBACK" >"$SCREENS/ws-osc.log" 2>&1 <<'PYEOF'
import json, socket, struct, sys, time, urllib.request, websocket
port, key, feedback = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
def osc(address, tags="", *args):
    pad = lambda b: b + b"\0" * (4 - len(b) % 4)
    data = pad(address.encode()) + pad(("," + tags).encode())
    for tag, value in zip(tags, args):
        data += struct.pack(">i", value) if tag == "i" else pad(value.encode())
    return data
listen = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
listen.bind(("127.0.0.1", feedback))
listen.settimeout(3)
urllib.request.urlopen(f"http://127.0.0.1:{port}/api/v1/reset?key={key}", timeout=5).read()
ws = websocket.create_connection(f"ws://127.0.0.1:{port}/api/v1/ws?key={key}", timeout=5)
first = json.loads(ws.recv())
print("connect", first["phase"], first["remaining"])
ws.send(json.dumps({"order": "start"}))  # counting, so that a minute more leaves the length
state = json.loads(ws.recv())
while state["phase"] != "counting":
    state = json.loads(ws.recv())
send = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
send.sendto(osc("/tallyglass/add", "i", 60), ("127.0.0.1", port))
added, before, deadline = False, state["remaining"], time.time() + 4
while time.time() < deadline and not added:
    added = json.loads(ws.recv())["remaining"] > before + 30
print("osc add", added)
packet, _ = listen.recvfrom(4096)
print("feedback", packet[:40])
ws.send("not json")
error = json.loads(ws.recv())
while "error" not in error:
    error = json.loads(ws.recv())
print("ws error", error)
sys.exit(0 if first["phase"] == "idle" and added and packet.startswith(b"/tallyglass/state\0") and "error" in error else 1)
PYEOF
check "a WebSocket gets the state at connect; OSC adds a minute; feedback is sent" [ $? -eq 0 ]
cat "$SCREENS/ws-osc.log"

# A body over 64 KiB (the other limits, the slots and the key's wait are the native suite's).
head -c 70000 /dev/zero >"$SCREENS/big-body"
reply=$(call POST "/api/v1/start?key=$KEY" --data-binary "@$SCREENS/big-body")
check "a body over 64 KiB: 413" [ "${reply%% *}" = 413 ]
answers "the clock still answers" 200 length 120 GET "/api/v1/state?key=$KEY"

# The run of show by HTTP (what each move does, and every other order's word, is the native suite's).
answers "next moves to the second segment" 200 segmentNumber 2 POST "/api/v1/next?key=$KEY"


# At exit a WebSocket is told the clock is going away, not left to time out.
"$PY" - "$PORT" "$KEY" >"$SCREENS/close.log" 2>&1 <<'PYEOF' &
import sys, websocket
ws = websocket.create_connection(f"ws://127.0.0.1:{sys.argv[1]}/api/v1/ws?key={sys.argv[2]}", timeout=20)
print("open", flush=True)
while True:
    opcode, data = ws.recv_data(control_frame=True)
    if opcode == websocket.ABNF.OPCODE_CLOSE:
        print("close", int.from_bytes(data[:2], "big"))
        sys.exit(0 if data[:2] == b"\x03\xe9" else 1)
PYEOF
closer=$!
wait_for 10 "the WebSocket to open" grep -q open "$SCREENS/close.log"
choose_exit
wait_clock_exit 15
wait "$closer"
check "at exit the WebSocket gets close 1001, going away ($(tail -1 "$SCREENS/close.log"))" [ $? -eq 0 ]
check "the refusals are counted in the log beside the settings file" grep -q "wrong keys" "$dir/TallyglassCountdown-remote.log"
check "the keys stay in the settings file after exit" [ "$(key_of remotekey)" = "$KEY" ]
finish
