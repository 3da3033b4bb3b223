"use strict";
// The clock's text alone, in its colour, for a streaming program's browser source.
function render(s) {
  state = s;
  $("clock").textContent = String(s.text);
  const color = cssColor(s.color);
  if (color) $("clock").style.color = color;
}
function showStatus() {}
connect();
