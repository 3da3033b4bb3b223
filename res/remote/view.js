"use strict";
let offset = 0, timer = 0, fitShape = "";

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

addEventListener("resize", fitClock);
fitClock();
showStatus();
connect();
