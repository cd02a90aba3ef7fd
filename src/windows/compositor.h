#pragma once

// True when the desktop draws translucent windows: on X11 a compositing manager owns the
// selection _NET_WM_CM_S<screen>; other platforms (Wayland, offscreen) always compose.
bool compositingManagerRunning();
