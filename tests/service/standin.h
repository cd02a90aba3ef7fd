#pragma once

// The local stand-in of the web service (mavu_service.py) for a test: a Python process on a
// free loopback port with a fresh test certificate, which the process trusts (verification
// stays on). Started, it points Core's three service hosts at itself.
//
//   ServiceStandIn service;
//   QVERIFY2(service.start(), "stand-in did not start");
//   service.configure({{"down", true}});
//   QJsonObject record = service.newFile(idsBefore);   // a file that came in
//   QJsonObject event = service.analyticsEvent(0);     // name, category, label

#include "../harness/processes.h"
#include "core.h"

#include <QJsonArray>
#include <QTemporaryDir>

class ServiceStandIn : public HttpsStandIn
{
public:
    static QString script() { return QStringLiteral(MAVU_TEST_DIR "/../service/mavu_service.py"); }

    ~ServiceStandIn() { stop(); }

    bool start()
    {
        if (!HttpsStandIn::start(script(), m_dir.path()))
            return false;
        pointCoreHere();
        return true;
    }

    void pointCoreHere() const
    {
        Core::instance()->setHostUrl(host());
        Core::instance()->setHostUrlAuth(host());
        Core::instance()->setSupportHost(host());
    }

    // The service's file records by id.
    QJsonObject files() { return state().value(QStringLiteral("files")).toObject(); }

    // The one file record made since the service held the records `before`, once its bytes
    // are in; empty when none (or more than one) comes.
    QJsonObject newFile(const QStringList &before)
    {
        QJsonObject added;
        (void)QTest::qWaitFor([&] {
            added = files();
            for (const QString &id : before)
                added.remove(id);
            return added.size() == 1 && added.begin()->toObject().value(QStringLiteral("uploaded")).toBool();
        }, 15000);
        return added.size() == 1 ? added.begin()->toObject() : QJsonObject();
    }

    // The file record the link leads to, empty when none does.
    QJsonObject fileRecord(const QString &link)
    {
        for (const QJsonValue &record : files()) {
            if (record[QStringLiteral("alternateLink")].toString() == link)
                return record.toObject();
        }
        return QJsonObject();
    }

    int analyticsCount() { return state().value(QStringLiteral("events")).toArray().size(); }

    // The analytics event received as number `at` (from 0), once it is in: its name,
    // category and label; empty when it does not come.
    QJsonObject analyticsEvent(int at)
    {
        QJsonArray events;
        (void)QTest::qWaitFor([&] { return (events = state().value(QStringLiteral("events")).toArray()).size() > at; },
                              10000);
        const QJsonObject event = events.at(at)[QStringLiteral("body")][QStringLiteral("events")][0].toObject();
        const QJsonValue params = event.value(QStringLiteral("params"));
        return event.isEmpty() ? QJsonObject()
                               : QJsonObject{{QStringLiteral("name"), event.value(QStringLiteral("name"))},
                                             {QStringLiteral("category"), params[QStringLiteral("event_category")]},
                                             {QStringLiteral("label"), params[QStringLiteral("event_label")]}};
    }

private:
    QTemporaryDir m_dir;
};
