#pragma once
// Remote control's figures, in this process: an HTTP order to the frame it makes,
// and a tick to the WebSocket message that carries it. Clients run on threads of
// their own over 127.0.0.1, as a phone or Companion would.
void RemoteFigures(double (*nowMs)());
