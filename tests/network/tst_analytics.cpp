// Analytics events: the Measurement Protocol body, and that every event object goes away.

#include "../service/standin.h"

#include "network/analytics.h"
#include "settings/setting.h"

#include <QJsonArray>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class TestAnalytics : public QObject
{
    Q_OBJECT

private:
    ServiceStandIn m_service;

private slots:
    void initTestCase()
    {
        QVERIFY2(m_service.start(), "the service stand-in did not start");
    }

    void withoutConfiguredEndpoint_nothingIsSent_andTheEventDeletesItself()
    {
        AnalyticsEvent::setDestination(QString(), QString());
        QPointer<AnalyticsEvent> event =
            new AnalyticsEvent(AnalyticsEvent::CategoryApp, AnalyticsEvent::ActionUse, true, "start");
        QTRY_VERIFY_WITH_TIMEOUT(event.isNull(), 5000);
        QCOMPARE(m_service.state().value("events").toArray().size(), 0);
    }

    void sentEvent_carriesMeasurementJson_andDeletesItselfAfterTheReply()
    {
        AnalyticsEvent::setDestination(m_service.url("/mp/collect"), QStringLiteral("G-TEST1"));
        QPointer<AnalyticsEvent> event =
            new AnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey, true, "fragment");
        QTRY_VERIFY_WITH_TIMEOUT(event.isNull(), 15000);
        const QJsonArray events = m_service.state().value("events").toArray();
        QCOMPARE(events.size(), 1);
        const QJsonObject sent = events.first().toObject();
        QCOMPARE(sent.value("query").toObject().value("measurement_id").toString(), QStringLiteral("G-TEST1"));
        const QJsonObject body = sent.value("body").toObject();
        QCOMPARE(body.value("client_id").toString(), Setting::instance()->getUserId());
        const QJsonObject first = body.value("events").toArray().first().toObject();
        QCOMPARE(first.value("name").toString(), QStringLiteral("ActionHotkey"));
        QCOMPARE(first.value("params").toObject().value("event_category").toString(), QStringLiteral("CategoryCapture"));
        QCOMPARE(first.value("params").toObject().value("event_label").toString(), QStringLiteral("fragment"));
    }

    void eventNotSentAtOnce_staysUntilSent()
    {
        AnalyticsEvent::setDestination(QString(), QString());
        QPointer<AnalyticsEvent> event =
            new AnalyticsEvent(AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionClick, false, "pen");
        QTest::qWait(100);
        QVERIFY(!event.isNull());
        QCOMPARE(event->label(), QStringLiteral("pen"));
        event->sendEvent();
        QTRY_VERIFY_WITH_TIMEOUT(event.isNull(), 5000);
    }

    void silentEndpoint_timesOut_andTheEventStillDeletesItself()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QList<QTcpSocket *> held;
        connect(&silent, &QTcpServer::newConnection, this, [&] { held << silent.nextPendingConnection(); });
        AnalyticsEvent::setDestination(QStringLiteral("http://127.0.0.1:%1/mp/collect").arg(silent.serverPort()),
                                       QStringLiteral("G-TEST2"));
        AnalyticsEvent::setTimeoutMs(500);
        QPointer<AnalyticsEvent> event =
            new AnalyticsEvent(AnalyticsEvent::CategoryAuth, AnalyticsEvent::ActionSignout, true, QString());
        QTRY_VERIFY_WITH_TIMEOUT(event.isNull(), 10000);
        QVERIFY(!held.isEmpty());
        AnalyticsEvent::setTimeoutMs(10000);
    }

    void enumValues_matchTheSharedNumbers()
    {
        QCOMPARE(int(AnalyticsEvent::CategoryTool), 5);
        QCOMPARE(int(AnalyticsEvent::ActionUse), 5);
        QCOMPARE(AnalyticsEvent::categoryName(AnalyticsEvent::CategorySize), QStringLiteral("CategorySize"));
        QCOMPARE(AnalyticsEvent::actionName(AnalyticsEvent::ActionExit), QStringLiteral("ActionExit"));
    }
};

QTEST_MAIN(TestAnalytics)
#include "tst_analytics.moc"
