"use strict";
// What both pages do with the clock: its socket, opened again when it is lost, and
// its colours. Each page gives render(state) and showStatus(); the control page also
// showClockError(answer) and onLost().
const $ = (id) => document.getElementById(id);
// The key came in the address once and the page's cookie carries it from here on:
// it leaves the address bar and the history, and the socket rides on the cookie.
if (location.search) history.replaceState(null, "", location.pathname);
const wsUrl = (location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/api/v1/ws";
let socket = null, delay = 500, lastPush = 0, state = null;

// "#AARRGGBB" only; anything else leaves the colour as it was.
function cssColor(text) {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text || "");
  if (!m) return null;
  const [a, r, g, b] = m.slice(1).map((h) => parseInt(h, 16));
  return `rgba(${r},${g},${b},${(a / 255).toFixed(3)})`;
}

function connect() {
  socket = new WebSocket(wsUrl);
  socket.onopen = () => { delay = 500; lastPush = Date.now(); showStatus(); };
  socket.onmessage = (event) => {
    lastPush = Date.now();
    let data;
    try { data = JSON.parse(event.data); } catch (e) { return; }
    if (!data || typeof data !== "object") return;
    if ("error" in data) { if (typeof showClockError === "function") showClockError(data); }
    else if ("text" in data) render(data);
  };
  socket.onclose = lost;
}

function lost() {
  socket = null;
  if (typeof onLost === "function") onLost();
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
