"use strict";
let errorTimer = 0, fitShape = "";

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

function showClockError(data) {
  showError("Clock: " + String(data.error) + (data.word ? " (" + String(data.word) + ")" : ""));
}

function onLost() {
  clearTimeout(errorTimer);
  errorTimer = 0;
}

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
