"use strict";
let timer = 0, quietTimer = 0;

// As the clock writes a counting time: h:mm:ss, m:ss, plain seconds, "0" at zero or below.
function clockText(seconds) {
  if (seconds <= 0) return "0";
  const h = Math.floor(seconds / 3600), m = Math.floor(seconds % 3600 / 60), s = seconds % 60;
  return h > 0 ? `${h}:${two(m)}:${two(s)}` : m > 0 ? `${m}:${two(s)}` : String(s);
}

// The time takes the box the other lines leave it.
function layout() {
  const box = $("timeBox");
  fitText($("clock"), box.clientWidth * 0.98, box.clientHeight);
}

function setText(id, text) {
  const el = $(id);
  if (el.textContent !== text) el.textContent = text;
  el.hidden = !text;
}

// The line over the time names what colour alone would say: paused, the warning, the
// alert with the clock's own words, overtime.
function badge(s, alertLabel) {
  const parts = [];
  if (s.paused) parts.push(t("paused"));
  if (s.phase === "warning") parts.push(t("warning"));
  if (s.phase === "alert" || s.phase === "overtime") parts.push(alertLabel || t("alert"));
  if (s.phase === "overtime") parts.push(t("overtime"));
  const el = $("badge");
  el.textContent = parts.join(" \u00b7 ");
  el.className = s.paused ? "paused" : s.phase === "warning" ? "warning" : parts.length ? "alert" : "";
}

// The text the clock shows now, counted on here between pushes.
function showTime(text, secondsLeft) {
  const s = state;
  let time = text, label = "", color = cssColor(s.color);
  if (s.phase === "alert" || s.phase === "overtime") ({ label, time } = splitAlert(s, text));
  const inShow = Number(s.segmentCount) > 0;
  let heading = inShow ? String(s.segment) : "";
  // Idle, the clock may show a title (the segment's name) in its alert colour: the page
  // shows the length under the name, in the normal colour.
  if (s.phase === "idle" && !/^\d[\d: APM]*$/.test(text)) {
    heading = text;
    time = lengthText(s.length);
    color = "#fff";
  }
  badge(s, label);
  setText("segment", heading);
  $("clock").textContent = time;
  if (color) $("clock").style.color = color;
  $("fill").style.width = (100 * progressOf(s, secondsLeft)).toFixed(1) + "%";
  layout();
}

// Between pushes the page counts on its own from endsAt on the server's time,
// waking at each whole second so that it turns with the clock. The elapsed face
// counts up by the seconds that went by since the push, as the clock does. A page
// that lost the clock shows the time as it was when the clock was last heard, as
// the control page does, and counts no further.
function tick() {
  clearTimeout(timer);
  const s = state;
  if (!s) return;
  if (s.paused || typeof s.endsAt !== "number" || (s.phase !== "counting" && s.phase !== "warning")) {
    showTime(String(s.text), s.remaining);
    return;
  }
  const live = link === "live";
  const left = s.endsAt - ((live ? Date.now() : heard) + clockOffset);
  const seconds = Math.ceil(left / 1000);
  const shown = s.face === "elapsed" ? (Number(s.elapsed) || 0) + s.remaining - seconds : seconds;
  showTime(seconds === s.remaining ? String(s.text) : clockText(shown), seconds);
  if (live && seconds > 0) timer = setTimeout(tick, Math.min(1000, left - (seconds - 1) * 1000) + 2);
}

function render(s) {
  const message = String(s.message || "");
  if ($("message").textContent !== message) $("message").textContent = message;
  $("message").classList.toggle("flashing", s.flash === true && !!message);
  setText("nextSegment", Number(s.segmentCount) > 0 && s.nextSegment ? t("next", s.nextSegment) : "");
  $("endsAt").textContent = endsAtText(s);
  $("blackout").hidden = s.blackout !== true;
  tick();
}

// Without the clock the count stops where it was, greyed, under what happened and
// when the clock was last heard; the next state brings the page back.
function showLink() {
  const [words, heardAt] = linkText();
  document.body.classList.toggle("stale", link !== "live");
  $("notice").hidden = !words;
  $("noticeWords").textContent = words;
  setText("noticeHeard", heardAt);
  if (link !== "live") {
    $("endsAt").textContent = "";
    tick();
  }
  layout();
}

const fullscreen = $("fullscreen");
function showFullscreenButton() { fullscreen.hidden = !document.fullscreenEnabled || !!document.fullscreenElement; }
fullscreen.onclick = () => document.documentElement.requestFullscreen().catch(() => {});
document.addEventListener("fullscreenchange", () => { showFullscreenButton(); layout(); });
// The pointer and the button leave the stage's screen 3 s after the last move or touch.
function wake() {
  document.body.classList.remove("quiet");
  fullscreen.classList.remove("away");
  clearTimeout(quietTimer);
  quietTimer = setTimeout(() => {
    document.body.classList.add("quiet");
    fullscreen.classList.add("away");
  }, 3000);
}
addEventListener("pointermove", wake);
addEventListener("pointerdown", wake);
addEventListener("resize", layout);
showFullscreenButton();
wake();
showLink();
connect();
