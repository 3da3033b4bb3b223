"use strict";
// The clock's own text, in its colour (with its dimming when paused and its flashes),
// in its font where the streaming PC has it. Without the clock it shows nothing: the
// audience of a stream must never read a stale time as a live one, and the control
// page tells the operator what happened.
function layout() {
  // The outline lies outside the glyphs: a margin of it on every side.
  if (!$("clock").hidden) fitText($("clock"), innerWidth * 0.92, innerHeight * 0.88);
}

// What the fitted size depends on: the text's length and its font.
const shapeOf = (el) => el.textContent.length + "|" + el.style.fontFamily;

function render(s) {
  const clock = $("clock");
  const shape = shapeOf(clock);
  clock.textContent = String(s.text);
  const color = cssColor(s.color, true);
  if (color) clock.style.color = color;
  const font = typeof s.fontName === "string" ? s.fontName.replace(/["\\]/g, "") : "";
  clock.style.fontFamily = font ? `"${font}", system-ui, sans-serif` : "";
  // A text of another length or another font no longer fits as the last one did.
  if (shapeOf(clock) !== shape) layout();
}

function showLink() {
  $("clock").hidden = link !== "live";
  layout();
}

addEventListener("resize", layout);
document.fonts.ready.then(layout);
document.fonts.addEventListener("loadingdone", layout);
connect();
