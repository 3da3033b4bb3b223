"use strict";
const $ = (id) => document.getElementById(id);
// The key came in the address once and the page's cookie carries it from here on:
// it leaves the address bar and the history, and the socket rides on the cookie.
if (location.search) history.replaceState(null, "", location.pathname);
const wsUrl = (location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/api/v1/ws";
let socket = null, delay = 500, lastPush = 0, state = null, offset = 0, timer = 0, fitShape = "";

function cssColor(text) {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text || "");
  if (!m) return null;
  const [a, r, g, b] = m.slice(1).map((h) => parseInt(h, 16));
  return `rgba(${r},${g},${b},${(a / 255).toFixed(3)})`;
}

// As the clock writes a counting time: h:mm:ss, m:ss, plain seconds, "0" at zero or below.
function timeText(seconds) {
  if (seconds <= 0) return "0";
  const h = Math.floor(seconds / 3600), m = Math.floor(seconds % 3600 / 60), s = seconds % 60;
  const two = (n) => String(n).padStart(2, "0");
  return h > 0 ? `${h}:${two(m)}:${two(s)}` : m > 0 ? `${m}:${two(s)}` : String(s);
}

// Largest size at which the text fits the width, and at most 60% of the height.
function fitClock() {
  const clock = $("clock");
  clock.style.fontSize = "100px";
  clock.style.fontSize = Math.min(100 * innerWidth * 0.96 / clock.scrollWidth, innerHeight * 0.6) + "px";
}

function showText(text) {
  const clock = $("clock");
  if (clock.textContent !== text) clock.textContent = text;
  const shape = text.replace(/\d/g, "0");
  if (shape !== fitShape) { fitShape = shape; fitClock(); }
}

// Between pushes the page counts on its own from endsAt on the server's time,
// waking at each whole second so that it turns with the clock. The elapsed face
// counts up by the seconds that went by since the push, as the clock does.
function tick() {
  clearTimeout(timer);
  const s = state;
  if (!s || s.paused || typeof s.endsAt !== "number" || (s.phase !== "counting" && s.phase !== "warning")) {
    if (s) showText(String(s.text));
    return;
  }
  const left = s.endsAt - (Date.now() + offset);
  const seconds = Math.ceil(left / 1000);
  const shown = s.face === "elapsed" ? (Number(s.elapsed) || 0) + s.remaining - seconds : seconds;
  showText(seconds === s.remaining ? String(s.text) : timeText(shown));
  if (seconds > 0) timer = setTimeout(tick, Math.min(1000, left - (seconds - 1) * 1000) + 2);
}

function render(s) {
  state = s;
  offset = typeof s.serverTime === "number" ? s.serverTime - Date.now() : 0;
  const color = cssColor(s.color);
  if (color) $("clock").style.color = color;
  $("paused").hidden = !s.paused;
  $("message").textContent = String(s.message || "");
  // The segment's name over the clock, unless the idle clock shows it as its title already.
  const inShow = Number(s.segmentCount) > 0;
  $("segment").textContent = inShow ? String(s.segment) : "";
  $("segment").hidden = !inShow || String(s.text) === String(s.segment);
  $("nextSegment").textContent = inShow && s.nextSegment ? "Next: " + String(s.nextSegment) : "";
  $("nextSegment").hidden = !$("nextSegment").textContent;
  tick();
}

function showStatus() {
  const open = socket && socket.readyState === WebSocket.OPEN;
  $("status").textContent = open ? "" : state ? "Reconnecting\u2026" : "Connecting\u2026";
}

function connect() {
  socket = new WebSocket(wsUrl);
  socket.onopen = () => { delay = 500; lastPush = Date.now(); showStatus(); };
  socket.onmessage = (event) => {
    lastPush = Date.now();
    let data;
    try { data = JSON.parse(event.data); } catch (e) { return; }
    if (data && typeof data === "object" && "text" in data) render(data);
  };
  socket.onclose = lost;
}

function lost() {
  socket = null;
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

// A running clock pushes every second; a socket silent for longer has died without a close.
setInterval(() => {
  const running = state && state.phase !== "idle" && !state.paused;
  if (socket && socket.readyState === WebSocket.OPEN && running && Date.now() - lastPush > 4000) {
    socket.onclose = null;
    socket.close();
    lost();
  }
}, 1000);

addEventListener("resize", fitClock);
fitClock();
showStatus();
connect();
