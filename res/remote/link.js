"use strict";
// What every page does with the clock: its socket, opened again when it is lost,
// the watch that tells a live clock from a silent or closed one, the pages' words
// in the clock's language, its colours, and the fitting of a time to its box.
// Each page gives render(state) and showLink(); the control page also onAnswer(answer).
const $ = (id) => document.getElementById(id);
// The key came in the address once and the page's cookie carries it from here on:
// it leaves the address bar and the history, and the socket rides on the cookie.
if (location.search) history.replaceState(null, "", location.pathname);
// The view and overlay pages' key rides on a cookie of their own (see the server's KeyCookieFor).
const pageMark = location.pathname === "/" ? "" : "?page=view";
const wsUrl = (location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/api/v1/ws" + pageMark;
// The clock writes the language into the page it serves, so the first words are right.
const chinese = /^zh/i.test(document.documentElement.lang);

const words = {
  connecting: ["Connecting\u2026", "正在连接\u2026"],
  offline: ["Clock offline", "时钟离线"],
  closed: ["Clock closed", "时钟已关闭"],
  lastHeard: ["last heard {0}", "最后收到 {0}"],
  keyChanged: ["The clock's key has changed: open its new link", "时钟的密钥已更改：请打开它的新链接"],
  ready: ["READY", "就绪"],
  counting: ["COUNTING", "计时中"],
  warning: ["WARNING", "警告"],
  alert: ["TIME UP", "时间到"],
  overtime: ["OVERTIME", "超时"],
  paused: ["PAUSED", "已暂停"],
  endsAt: ["ends at {0}", "{0} 结束"],
  late: ["{0} late", "晚 {0}"],
  early: ["{0} early", "早 {0}"],
  onTime: ["on time", "准时"],
  notStarted: ["not started, {0} late", "未开始，已晚 {0}"],
  slide: ["Slide {0} / {1}", "幻灯片 {0} / {1}"],
  behind: ["{0} behind", "落后 {0}"],
  ahead: ["{0} ahead", "提前 {0}"],
  next: ["Next: {0}", "下一段：{0}"],
  viewOnly: ["view only", "仅查看"],
  start: ["Start", "开始"],
  pause: ["Pause", "暂停"],
  resume: ["Resume", "继续"],
  reset: ["Reset", "复位"],
  sure: ["Sure?", "确定？"],
  holdReset: ["Hold to reset, or tap again", "按住以复位，或再点一下"],
  holdJump: ["Hold to jump, or tap again", "按住以跳转，或再点一下"],
  previous: ["\u2039 Previous", "\u2039 上一段"],
  nextButton: ["Next \u203a", "下一段 \u203a"],
  runningOrder: ["Running order", "流程"],
  lengthLabel: ["Length (90, 5m, 1h30m, 10:00)", "时长（90、5m、1h30m、10:00）"],
  set: ["Set", "设定"],
  messageLabel: ["Message to the presenter", "给讲者的消息"],
  send: ["Send", "发送"],
  messageHint: ["Wrap up", "请收尾"],
  clear: ["Clear", "清除"],
  flash: ["Flash", "闪烁"],
  blackout: ["Blackout", "黑屏"],
  blackoutOff: ["End blackout", "结束黑屏"],
  nothingChanged: ["Nothing changed", "没有变化"],
  notSent: ["Not connected; the order was not sent", "未连接，指令没有发出"],
  clockSaid: ["Clock: {0}", "时钟：{0}"],
  fullscreen: ["Fullscreen", "全屏"],
  controlTitle: ["Tallyglass remote", "Tallyglass 遥控"],
  viewTitle: ["Tallyglass view", "Tallyglass 显示"],
  overlayTitle: ["Tallyglass overlay", "Tallyglass 叠加"],
  seconds: ["{0} s", "{0} 秒"],
  minutes: ["{0} min", "{0} 分"],
};

function t(name, ...values) {
  const pair = words[name];
  const text = pair ? pair[chinese ? 1 : 0] : name;
  return text.replace(/\{(\d)\}/g, (_, i) => String(values[i]));
}

// The pages' fixed words: data-t names the text, data-t-hint a field's placeholder.
for (const el of document.querySelectorAll("[data-t]")) el.textContent = t(el.dataset.t);
for (const el of document.querySelectorAll("[data-t-hint]")) el.placeholder = t(el.dataset.tHint);
if (document.body.dataset.title) document.title = t(document.body.dataset.title);

// "#AARRGGBB" only; anything else gives null. The pages draw the colour opaque unless
// asked: the clock dims a paused time, which the pages say in words instead, and a
// dimmed colour would fall below a readable contrast on black.
function cssColor(text, keepAlpha) {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text || "");
  if (!m) return null;
  const [a, r, g, b] = m.slice(1).map((h) => parseInt(h, 16));
  return keepAlpha ? `rgba(${r},${g},${b},${(a / 255).toFixed(3)})` : `rgb(${r},${g},${b})`;
}

const two = (n) => String(n).padStart(2, "0");
// A length as a clock face writes it: h:mm:ss or m:ss.
function lengthText(seconds) {
  const s = Math.max(0, Math.round(Number(seconds) || 0));
  const h = Math.floor(s / 3600), m = Math.floor(s % 3600 / 60);
  return h > 0 ? `${h}:${two(m)}:${two(s % 60)}` : `${m}:${two(s % 60)}`;
}
// A moment in the browser's local time: 14:32 or 14:32:05.
function timeOfDay(ms, withSeconds) {
  const d = new Date(ms);
  return `${two(d.getHours())}:${two(d.getMinutes())}` + (withSeconds ? ":" + two(d.getSeconds()) : "");
}

// The clock writes its alert as "TIME UP 45" and its overtime as "TIME UP +0:08": the
// pages show the words as a label and the time as large as any other time.
function splitAlert(s, text) {
  const alertText = typeof s.alertText === "string" ? s.alertText : "";
  if (alertText && text.startsWith(alertText + " ")) return { label: alertText, time: text.slice(alertText.length + 1) };
  const m = /^(.*\S)\s+(\+?\d[\d:]*)$/.exec(text);
  return m ? { label: m[1], time: m[2] } : { label: "", time: text };
}

// The time of day the count ends, while it counts toward it, and how the show runs
// against its plan (the clock's offset: the current segment's projected end against
// its planned end); an idle segment past its planned start says it has not started.
// With a slide show up: which slide, and whether the talk keeps pace with the slides.
function endsAtText(s) {
  const toward = s.phase === "counting" || s.phase === "warning";
  const parts = [toward && typeof s.endsAt === "number" ? t("endsAt", timeOfDay(s.endsAt)) : ""];
  if (typeof s.offset === "number") {
    // Idle or paused, the projected end moves with the wall clock between the clock's states.
    const now = Date.now() + clockOffset;
    const still = s.phase === "idle" || s.paused ? Math.max(0, Math.round((now - s.serverTime) / 1000)) : 0;
    const offset = s.offset + still;
    const waiting = s.phase === "idle" && typeof s.plannedStart === "number" ? (now - s.plannedStart) / 1000 : 0;
    parts.push(waiting >= 1 ? t("notStarted", lengthText(waiting))
      : offset > 0 ? t("late", lengthText(offset)) : offset < 0 ? t("early", lengthText(-offset)) : t("onTime"));
  }
  if (typeof s.slide === "number") parts.push(t("slide", s.slide, s.slideCount));
  if (typeof s.pace === "number" && s.pace !== 0) parts.push(t(s.pace > 0 ? "behind" : "ahead", lengthText(Math.abs(s.pace))));
  return parts.filter(Boolean).join(" \u00b7 ");
}

// What the segment's bar shows: the part of its length gone by.
function progressOf(s, secondsLeft) {
  if (s.phase === "alert" || s.phase === "overtime") return 1;
  if (s.phase === "idle" || !(s.length > 0)) return 0;
  return Math.min(1, Math.max(0, (s.length - secondsLeft) / s.length));
}

// The largest size at which the text fits the box, never wider than a signed m:ss
// would be, so that the digits keep one size from 1:00 down to 0 and into overtime.
function fitText(el, width, height) {
  const text = el.textContent;
  el.style.fontSize = "100px";
  el.textContent = "+0:00";
  const reference = el.getBoundingClientRect().width;
  el.textContent = text;
  const box = el.getBoundingClientRect();
  const size = 100 * Math.min(width / Math.max(box.width, reference), height / box.height);
  el.style.fontSize = Math.max(1, Math.floor(size)) + "px";
}

// The link: "connecting" until the first state, "live", "offline" after 3 s without a
// word (a tick is due every second while counting, a keep-alive otherwise), "closed"
// after the clock's close at its exit, "key" once its key no longer opens it.
let socket = null, delay = 500, heard = 0, state = null, clockOffset = 0, link = "connecting";

function setLink(next) {
  if (link === next) return;
  link = next;
  showLink();
}

function connect() {
  socket = new WebSocket(wsUrl);
  socket.onmessage = (event) => {
    let data;
    try { data = JSON.parse(event.data); } catch (e) { return; }
    if (!data || typeof data !== "object") return;
    heard = Date.now();
    delay = 500;
    if (typeof data.serverTime === "number") clockOffset = data.serverTime - heard;
    if ("text" in data) {
      state = data;
      link = "live";
      render(data);
      showLink();
    } else if (("answer" in data || "error" in data) && typeof onAnswer === "function") {
      onAnswer(data);
    }
  };
  socket.onclose = (event) => lost(event.code === 1001);
}

function lost(closedByClock) {
  socket = null;
  if (closedByClock) setLink("closed");
  setTimeout(redial, delay);
  delay = Math.min(delay * 2, 5000);
}

// A refused socket tells the page nothing of why; the state's answer says whether
// the key still holds. A key that no longer does is never tried again.
function redial() {
  fetch("/api/v1/state" + pageMark).then((reply) => (reply.status === 401 ? setLink("key") : connect()), connect);
}

// A socket silent for 3 s has died without a close (a killed clock, a phone that
// lost its network): the page says so and dials again.
setInterval(() => {
  const ends = $("endsAt");  // the overlay has none
  if (ends && link === "live" && state && typeof state.offset === "number") ends.textContent = endsAtText(state);
  if (!heard || Date.now() - heard <= 3000 || link === "closed" || link === "key") return;
  setLink("offline");
  if (socket && socket.readyState === WebSocket.OPEN) {
    socket.onclose = null;
    socket.close();
    lost(false);
  }
}, 250);

// The words for a link that is not live, with the time last heard.
function linkText() {
  if (link === "key") return [t("keyChanged"), ""];
  if (link === "connecting") return [t("connecting"), ""];
  if (link === "offline" || link === "closed") return [t(link), t("lastHeard", timeOfDay(heard, true))];
  return ["", ""];
}
