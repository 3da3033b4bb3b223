"use strict";
const $ = (id) => document.getElementById(id);
// The key came in the address once and the page's cookie carries it from here on:
// it leaves the address bar and the history, and the socket rides on the cookie.
if (location.search) history.replaceState(null, "", location.pathname);
const wsUrl = (location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/api/v1/ws";
let socket = null, delay = 500, lastPush = 0, state = null, errorTimer = 0, fitShape = "";

// "#AARRGGBB" only; anything else leaves the colour as it was.
function cssColor(text) {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text || "");
  if (!m) return null;
  const [a, r, g, b] = m.slice(1).map((h) => parseInt(h, 16));
  return `rgba(${r},${g},${b},${(a / 255).toFixed(3)})`;
}

// Largest size at which the text fits the width, and at most a third of the height.
function fitClock() {
  const clock = $("clock");
  clock.style.fontSize = "100px";
  const width = $("face").clientWidth * 0.96;
  clock.style.fontSize = Math.min(100 * width / clock.scrollWidth, innerHeight * 0.3) + "px";
}

function showStatus() {
  const open = socket && socket.readyState === WebSocket.OPEN;
  for (const b of document.querySelectorAll("#controls button")) b.disabled = !open;
  if (open && state) {
    $("pause").disabled = state.phase === "idle";
    // Past either end of the show nothing would happen.
    $("previous").disabled = !(state.segmentNumber > 1);
    $("next").disabled = !(state.segmentNumber < state.segmentCount);
  }
  if (errorTimer) return;
  $("status").textContent = open ? "" : state ? "Reconnecting\u2026" : "Connecting\u2026";
  $("status").className = open ? "" : "lost";
}

function showError(text) {
  clearTimeout(errorTimer);
  $("status").textContent = text;
  $("status").className = "error";
  errorTimer = setTimeout(() => { errorTimer = 0; showStatus(); }, 4000);
}

function render(s) {
  state = s;
  const clock = $("clock");
  clock.textContent = String(s.text);
  const color = cssColor(s.color);
  if (color) clock.style.color = color;
  const shape = clock.textContent.replace(/\d/g, "0");
  if (shape !== fitShape) { fitShape = shape; fitClock(); }
  $("phase").textContent = String(s.phase || "");
  $("paused").hidden = !s.paused;
  $("message").textContent = String(s.message || "");
  const inShow = Number(s.segmentCount) > 0;
  $("show").hidden = $("showButtons").hidden = !inShow;
  $("segment").textContent = inShow ? `${s.segmentNumber} / ${s.segmentCount} \u00b7 ${s.segment}` : "";
  $("nextSegment").textContent = inShow && s.nextSegment ? "Next: " + String(s.nextSegment) : "";
  $("pause").textContent = s.paused ? "Resume" : "Pause";
  $("controls").hidden = s.control !== true;
  showStatus();
}

function send(order) {
  if (socket && socket.readyState === WebSocket.OPEN) {
    socket.send(JSON.stringify(order));
    return true;
  }
  showError("Not connected; the order was not sent");
  return false;
}

function connect() {
  socket = new WebSocket(wsUrl);
  socket.onopen = () => { delay = 500; lastPush = Date.now(); showStatus(); };
  socket.onmessage = (event) => {
    lastPush = Date.now();
    let data;
    try { data = JSON.parse(event.data); } catch (e) { return; }
    if (!data || typeof data !== "object") return;
    if ("error" in data) showError("Clock: " + String(data.error) + (data.word ? " (" + String(data.word) + ")" : ""));
    else if ("text" in data) render(data);
  };
  socket.onclose = lost;
}

function lost() {
  socket = null;
  clearTimeout(errorTimer);
  errorTimer = 0;
  showStatus();
  setTimeout(redial, delay);
  delay = Math.min(delay * 2, 5000);
}

// A refused socket tells the page nothing of why; the state's answer says whether
// the key still holds. A key that no longer does is never tried again.
function redial() {
  fetch("/api/v1/state").then((reply) => (reply.status === 401 ? keyChanged() : connect()), connect);
}

function keyChanged() {
  $("status").textContent = "The clock's key has changed: open its new link";
  $("status").className = "error";
}

// A running clock pushes every second; a socket silent for longer has died
// without a close (a phone that lost its network), so it is dropped and redialled.
setInterval(() => {
  const running = state && state.phase !== "idle" && !state.paused;
  if (socket && socket.readyState === WebSocket.OPEN && running && Date.now() - lastPush > 4000) {
    socket.onclose = null;
    socket.close();
    lost();
  }
}, 1000);

$("start").onclick = () => send({ order: "start" });
$("pause").onclick = () => send({ order: state && state.paused ? "resume" : "pause" });
$("reset").onclick = () => send({ order: "reset" });
$("previous").onclick = () => send({ order: "previous" });
$("next").onclick = () => send({ order: "next" });
$("minus").onclick = () => send({ order: "add", seconds: -60 });
$("plus").onclick = () => send({ order: "add", seconds: 60 });
$("lengthForm").onsubmit = (event) => {
  event.preventDefault();
  const length = $("length").value.trim();
  if (length) send({ order: "set", length });
};
$("messageForm").onsubmit = (event) => {
  event.preventDefault();
  const text = $("messageText").value;
  if (text.trim() && send({ order: "message", text })) $("messageText").value = "";
};
$("clear").onclick = () => send({ order: "message/clear" });
addEventListener("resize", fitClock);
fitClock();
showStatus();
connect();
