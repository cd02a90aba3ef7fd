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
