// Size limits of the selection while the scrolling capture keeps room for its preview.
#include "capture/selectionlimits.h"
#include "capture/surfaceselector.h"
#include "capturetesthost.h"

#include <QSignalSpy>
#include <QTest>

using Host = CaptureTestHost<SurfaceSelector>;
using SelectionLimits::Span;

namespace {

const QSize itemSize(1000, 600);

// Grabs the zone at `grab` (hovering twice so the zone is current) and drags through `points`.
void dragZone(Host &host, const QPoint &grab, std::initializer_list<QPoint> points)
{
    host.move(grab + QPoint(1, 1));
    host.move(grab);
    host.drag(grab, points);
}

} // namespace

class TestSelectorLimits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useSoftwareRenderer(); }

    void span_keepsRoomOnEitherSide()
    {
        // Item 1000, limit 878: the preview needs the first 122 or the last 122 pixels.
        QVERIFY(SelectionLimits::keepsRoom(Span{122, 800}, 1000, 878));
        QVERIFY(SelectionLimits::keepsRoom(Span{0, 878}, 1000, 878));
        QVERIFY(!SelectionLimits::keepsRoom(Span{121, 758}, 1000, 878));
        QVERIFY(SelectionLimits::keepsRoom(Span{121, 758}, 1000, SelectionLimits::noLimit));
    }

    void span_dragStepStopsTheMovedEdgeOnly()
    {
        // The start jumped from 400 past the room: it goes back, the end stays.
        Span start = SelectionLimits::limitDragStep(Span{100, 850}, 400, 1000, 878);
        QCOMPARE(start.start, 400.0);
        QCOMPARE(start.end(), 950.0);
        // The end ran into the room on the far side: it stops at its border.
        Span end = SelectionLimits::limitDragStep(Span{100, 850}, 100, 1000, 878);
        QCOMPARE(end.start, 100.0);
        QCOMPARE(end.end(), 878.0);
    }

    void drag_widenTowardLessSpace_stopsAtLimit_data()
    {
        QTest::addColumn<bool>("inSteps");
        QTest::newRow("one jump") << false;
        QTest::newRow("in steps") << true;
    }

    void drag_widenTowardLessSpace_stopsAtLimit()
    {
        QFETCH(bool, inSteps);
        Host host(itemSize);
        host.drag(QPoint(100, 100), {QPoint(400, 200)});
        host.item->setMaxSelectWidth(878);
        QCOMPARE(host.item->rubberRect(), QRectF(100, 100, 300, 100));
        if (inSteps)
            dragZone(host, QPoint(450, 150), {QPoint(700, 150), QPoint(870, 150), QPoint(950, 150)});
        else
            dragZone(host, QPoint(450, 150), {QPoint(950, 150)});
        QCOMPARE(host.item->rubberRect(), QRectF(100, 100, 778, 100));
    }

    void drag_leftEdgePastLimit_staysWhereItWas_data()
    {
        QTest::addColumn<QPoint>("firstStep");
        QTest::addColumn<int>("expectedLeft");
        QTest::newRow("one jump") << QPoint(50, 150) << 400;
        QTest::newRow("after a step") << QPoint(300, 150) << 350;
    }

    void drag_leftEdgePastLimit_staysWhereItWas()
    {
        QFETCH(QPoint, firstStep);
        QFETCH(int, expectedLeft);
        Host host(itemSize);
        host.drag(QPoint(400, 100), {QPoint(950, 200)});
        host.item->setMaxSelectWidth(878);
        QCOMPARE(host.item->rubberRect(), QRectF(400, 100, 550, 100));
        dragZone(host, QPoint(350, 150), {firstStep, QPoint(50, 150)});
        // The right edge keeps its place: the refused step does not push it outward.
        QCOMPARE(host.item->rubberRectLeft(), expectedLeft);
        QCOMPARE(host.item->rubberRectRight(), 950);
    }

    void setLimit_narrowsSelectionWithoutRoom_data()
    {
        QTest::addColumn<QRectF>("drawn");
        QTest::addColumn<QRectF>("expected");
        // More space on the left: the left edge moves in, the width becomes limit - free right.
        QTest::newRow("room opens left") << QRectF(100, 100, 880, 100) << QRectF(122, 100, 858, 100);
        // Equal space: the right edge moves in to the limit.
        QTest::newRow("room opens right") << QRectF(50, 100, 900, 100) << QRectF(50, 100, 828, 100);
        QTest::newRow("already has room") << QRectF(200, 100, 300, 100) << QRectF(200, 100, 300, 100);
    }

    void setLimit_narrowsSelectionWithoutRoom()
    {
        QFETCH(QRectF, drawn);
        QFETCH(QRectF, expected);
        SurfaceSelector selector;
        selector.setSize(QSizeF(itemSize));
        selector.setRubberRect(drawn);
        QSignalSpy rect(&selector, &SurfaceSelector::rubberRectChanged);
        QSignalSpy limit(&selector, &SurfaceSelector::maxSelectWidthChanged);
        selector.setMaxSelectWidth(878);
        QCOMPARE(selector.rubberRect(), expected);
        QCOMPARE(limit.count(), 1);
        QCOMPARE(rect.count(), 1);
        selector.setMaxSelectWidth(878);
        QCOMPARE(limit.count(), 1);
    }

    void drag_heightLimitStopsBottomEdge()
    {
        Host host(itemSize);
        host.drag(QPoint(100, 50), {QPoint(300, 300)});
        host.item->setMaxSelectHeight(400);
        dragZone(host, QPoint(200, 350), {QPoint(200, 450), QPoint(200, 550)});
        QCOMPARE(host.item->rubberRect(), QRectF(100, 50, 200, 350));
    }

    void drawing_firstRectangleIgnoresLimits()
    {
        Host host(itemSize);
        host.item->setMaxSelectWidth(300);
        host.drag(QPoint(10, 10), {QPoint(900, 100)});
        QCOMPARE(host.item->rubberRect(), QRectF(10, 10, 890, 90));
    }

    void noLimit_dragsFreely()
    {
        Host host(itemSize);
        host.drag(QPoint(100, 100), {QPoint(400, 200)});
        host.item->setMaxSelectWidth(878);
        host.item->setMaxSelectWidth(SelectionLimits::noLimit);
        dragZone(host, QPoint(450, 150), {QPoint(990, 150)});
        QCOMPARE(host.item->rubberRect(), QRectF(100, 100, 840, 100));
    }
};

QTEST_MAIN(TestSelectorLimits)
#include "tst_selectorlimits.moc"
