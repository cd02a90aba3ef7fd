#pragma once

// The capture overlay as the controller opens it, over whatever the screen shows.

#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"

#include <QTest>

// The controller's overlay, shown and active, with the selection when one is given; null
// when it does not show.
inline SurfaceWidget *openOverlay(const QRect &selection = QRect())
{
    SurfaceWidget *overlay = Core::instance()->surfaceWidget();
    // The last capture's window counts as active until the X server's word that it lost the
    // focus has come through, and Qt then waits 400 ms more for the focus to come back. Shown
    // again before that, it seems active at once, and the late deactivation cuts the next drag
    // short at its press.
    if (!overlay->isVisible())
        (void)QTest::qWaitFor([overlay] { return !overlay->isActive(); });
    overlay->show();
    overlay->requestActivate();
    if (!QTest::qWaitForWindowExposed(overlay))
        return nullptr;
    (void)QTest::qWaitForWindowActive(overlay);
    if (!selection.isNull())
        overlay->selector()->setRubberRect(QRectF(selection));
    return overlay;
}

// Ends the capture and waits until the window under the overlay is painted again; false
// when the overlay stays.
inline bool closeOverlay(SurfaceWidget *overlay, QWindow *under, int paintMs = 300)
{
    Core::instance()->deleteSurfaceScreen();
    if (!QTest::qWaitFor([overlay] { return !overlay->isVisible() && !overlay->isCapturing(); }))
        return false;
    under->requestUpdate();
    QTest::qWait(paintMs);
    return true;
}
