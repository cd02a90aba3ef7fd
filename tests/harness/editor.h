#pragma once

// Drawing in the capture editor with the mouse, as a user does.

#include "capture/editponoramwidget.h"
#include "painter/mpainterarea.h"

#include <QTest>

// A rectangle drawn from (400, 100) to (700, 250) of the editor's image; false when no item
// came of it.
inline bool drawRectangle(EditPonoramWidget *editor)
{
    MPainterArea *canvas = editor->paintArea();
    canvas->setCurrentModule(QStringLiteral("Rect"));
    const QPoint from = canvas->mapToScene(QPointF(400, 100)).toPoint();
    const QPoint to = canvas->mapToScene(QPointF(700, 250)).toPoint();
    QTest::mousePress(editor, Qt::LeftButton, {}, from);
    QTest::mouseMove(editor, (from + to) / 2);
    QTest::mouseMove(editor, to);
    QTest::mouseRelease(editor, Qt::LeftButton, {}, to);
    return canvas->graphItems().size() == 1;
}
