"use strict";
let noticeTimer = 0, lastId = 0, presetsShown = "", segmentsShown = "";

const phaseWord = { idle: "ready", counting: "counting", warning: "warning", alert: "alert", overtime: "overtime" };
const running = () => state && state.phase !== "idle";

// A notice for 3 s over the bar: an order that changed nothing, a refusal, a tip.
function showNotice(text) {
  clearTimeout(noticeTimer);
  noticeTimer = setTimeout(() => { noticeTimer = 0; showLink(); }, 3000);
  const status = $("status");
  status.textContent = text;
  status.className = "notice";
  status.hidden = false;
}

// The link's state wins over a notice: a page that cannot reach the clock says so first.
function showLink() {
  const [words, heardAt] = linkText();
  const status = $("status");
  document.body.classList.toggle("stale", link !== "live");
  if (words) {
    status.replaceChildren(words, ...(heardAt ? [" ", Object.assign(document.createElement("small"), { textContent: heardAt })] : []));
    status.className = "lost";
    status.hidden = false;
  } else if (!noticeTimer) {
    status.hidden = true;
  }
  enable();
}

// Buttons that could not act are disabled: nothing goes out that the clock would ignore.
function enable() {
  const live = link === "live" && state;
  for (const b of document.querySelectorAll("#controls button, #transport button")) b.disabled = !live;
  if (!live) return;
  const over = state.phase === "alert" || state.phase === "overtime";
  $("start").disabled = running() && !state.paused;
  $("pause").disabled = !running();
  for (const b of document.querySelectorAll("#steps button")) b.disabled = over;
  $("previous").disabled = !(state.segmentNumber > 1);
  $("next").disabled = !(state.segmentNumber < state.segmentCount);
  $("flash").disabled = !state.message && !$("messageText").value.trim();
}

function send(order) {
  if (!socket || socket.readyState !== WebSocket.OPEN || link !== "live") {
    showNotice(t("notSent"));
    return false;
  }
  socket.send(JSON.stringify({ ...order, id: ++lastId }));
  return true;
}

function onAnswer(data) {
  if ("error" in data) showNotice(t("clockSaid", String(data.error) + (data.word ? ` (${data.word})` : "")));
  else if (data.changed === false) showNotice(t("nothingChanged"));
}

// An order that cannot be taken back (Reset, a jump while counting) needs a hold of
// 0.6 s, or a tap and a second one on "Sure?" within 3 s; a single tap only says so.
function guarded(button, needed, act, tip) {
  let holdTimer = 0, armTimer = 0, held = false;
  const label = () => button.dataset.label || button.textContent;
  const disarm = () => {
    clearTimeout(armTimer);
    armTimer = 0;
    button.classList.remove("armed");
    if (button.dataset.label) button.textContent = button.dataset.label;
  };
  const stopHold = () => { clearTimeout(holdTimer); button.classList.remove("holding"); };
  button.addEventListener("pointerdown", () => {
    if (button.disabled || !needed()) return;
    held = false;
    button.classList.add("holding");
    holdTimer = setTimeout(() => { held = true; stopHold(); disarm(); act(); }, 600);
  });
  for (const end of ["pointerup", "pointerleave", "pointercancel"]) button.addEventListener(end, stopHold);
  button.addEventListener("click", () => {
    if (held) { held = false; return; }
    if (!needed() || armTimer) { disarm(); act(); return; }
    button.dataset.label = label();
    button.textContent = t("sure");
    button.classList.add("armed");
    armTimer = setTimeout(disarm, 3000);
    showNotice(t(tip));
  });
}

function renderFace(s) {
  const idle = s.phase === "idle";
  const text = String(s.text);
  let label = "", time = text, color = cssColor(s.color);
  if (s.phase === "alert" || s.phase === "overtime") ({ label, time } = splitAlert(s, text));
  else if (Number(s.segmentCount) > 0) label = `${s.segmentNumber} / ${s.segmentCount} \u00b7 ${s.segment}`;
  // Idle, the clock may show a title (the segment's name) in its alert colour: the page
  // shows the length under the name, in the normal colour.
  if (idle && !/^\d[\d: APM]*$/.test(text)) {
    if (!label) label = text;
    time = lengthText(s.length);
    color = "#fff";
  }
  $("segment").textContent = label;
  $("segment").className = s.phase === "alert" || s.phase === "overtime" ? "alert" : "";
  const clock = $("clock");
  clock.textContent = time;
  if (color) clock.style.color = color;
  fitText(clock, $("clockBox").clientWidth * 0.96, $("clockBox").clientHeight);
  $("fill").style.width = (100 * progressOf(s, s.remaining)).toFixed(1) + "%";
  $("endsAt").textContent = endsAtText(s);
  const message = String(s.message || "");
  if ($("message").textContent !== message) $("message").textContent = message;
  $("message").classList.toggle("flashing", s.flash === true && !!message);
}

function renderShow(s) {
  const segments = Array.isArray(s.segments) ? s.segments : [];
  $("show").hidden = !(Number(s.segmentCount) > 0);
  $("nextSegment").textContent = s.nextSegment ? t("next", s.nextSegment) : "";
  const shown = JSON.stringify(segments);
  if (shown !== segmentsShown) {
    segmentsShown = shown;
    $("segments").replaceChildren(...segments.map((segment, i) => {
      const button = Object.assign(document.createElement("button"), { type: "button" });
      const planned = segment.plannedStart ? ` \u00b7 ${segment.plannedStart}` : "";
      button.textContent = `${i + 1}. ${segment.name} \u00b7 ${lengthText(segment.length)}${planned}`;
      guarded(button, running, () => send({ order: "segment", number: i + 1 }), "holdJump");
      const item = document.createElement("li");
      item.append(button);
      return item;
    }));
  }
  $("segments").querySelectorAll("button").forEach((b, i) => b.toggleAttribute("aria-current", i + 1 === s.segmentNumber));
}

function renderPresets(s) {
  const presets = Array.isArray(s.presets) ? s.presets.map(String) : [];
  const shown = JSON.stringify(presets);
  if (shown === presetsShown) return;
  presetsShown = shown;
  $("presets").replaceChildren(...presets.map((text) => {
    const button = Object.assign(document.createElement("button"), { type: "button", textContent: text });
    button.onclick = () => send({ order: "message", text });
    return button;
  }));
}

function render(s) {
  const phase = phaseWord[s.phase] || "ready";
  $("phase").textContent = s.paused ? t("paused") + (/warning|alert|overtime/.test(phase) ? " \u00b7 " + t(phase) : "") : t(phase);
  $("phase").className = "pill " + (s.paused ? "paused" : phase);
  renderFace(s);
  renderShow(s);
  renderPresets(s);
  $("pause").textContent = t(s.paused ? "resume" : "pause");
  $("blackout").setAttribute("aria-pressed", String(s.blackout === true));
  $("blackout").textContent = t(s.blackout === true ? "blackoutOff" : "blackout");
  $("controls").hidden = $("transport").hidden = s.control !== true;
  $("viewOnly").hidden = s.control === true;
}

for (const b of document.querySelectorAll("#steps button")) {
  const seconds = Number(b.dataset.seconds), size = Math.abs(seconds);
  b.textContent = (seconds < 0 ? "\u2212" : "+") + (size < 60 ? t("seconds", size) : t("minutes", size / 60));
  b.onclick = () => send({ order: "add", seconds });
}
$("start").onclick = () => send({ order: "start" });
$("pause").onclick = () => send({ order: state && state.paused ? "resume" : "pause" });
guarded($("reset"), () => true, () => send({ order: "reset" }), "holdReset");
$("previous").onclick = () => send({ order: "previous" });
$("next").onclick = () => send({ order: "next" });
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
$("messageText").oninput = enable;
$("clear").onclick = () => send({ order: "message/clear" });
// A message typed and not yet sent is sent first, then the clock flashes what it shows.
$("flash").onclick = () => {
  const text = $("messageText").value;
  if (text.trim() && !send({ order: "message", text })) return;
  $("messageText").value = "";
  send({ order: "flash" });
};
$("blackout").onclick = () => send({ order: state && state.blackout ? "blackout/off" : "blackout/on" });
addEventListener("resize", () => { if (state) renderFace(state); });
showLink();
connect();
