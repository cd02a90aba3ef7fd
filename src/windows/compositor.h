#pragma once

class QColor;
class QWindow;

// True when the desktop draws translucent windows: on X11 a compositing manager owns the
// selection _NET_WM_CM_S<screen>; other platforms (Wayland, offscreen) always compose.
bool compositingManagerRunning();
// Makes the window translucent where a compositor draws it so, or fills it with the opaque
// colour where its transparent parts would come out black. True when translucent.
bool applyWindowBackground(QWindow *window, const QColor &opaque);
