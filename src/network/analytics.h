#pragma once

#include <QObject>
#include <QString>

// One analytics event (category, action, label). Sent as Measurement Protocol JSON to the
// endpoint and measurement id of the build configuration; with none configured nothing
// is sent. A sent event deletes itself once its reply has come or its request timed out.
class AnalyticsEvent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(AnalyticsEventCategory category READ category WRITE setCategory)
    Q_PROPERTY(AnalyticsEventAction action READ action WRITE setAction)
    Q_PROPERTY(QString label READ label WRITE setLabel)
public:
    enum AnalyticsEventCategory {
        CategorySize = 0,
        CategoryColor = 1,
        CategoryCapture = 2,
        CategoryAuth = 3,
        CategoryApp = 4,
        CategoryTool = 5
    };
    Q_ENUM(AnalyticsEventCategory)

    enum AnalyticsEventAction {
        ActionChange = 0,
        ActionClick = 1,
        ActionHotkey = 2,
        ActionSignout = 3,
        ActionExit = 4,
        ActionUse = 5
    };
    Q_ENUM(AnalyticsEventAction)

    explicit AnalyticsEvent(QObject *parent = nullptr);
    AnalyticsEvent(AnalyticsEventCategory category, AnalyticsEventAction action, bool is_sendEvent,
                   QString label, QObject *parent = nullptr);

    // Registers the type in the QML module "MavuComponent" 1.0.
    static void registerQmlType();

    // Where events go; by default the build configuration's values. An empty endpoint or
    // measurement id means that nothing is sent.
    static void setDestination(const QString &endpoint, const QString &measurementId,
                               const QString &apiSecret = QString());
    static void setTimeoutMs(int timeoutMs);

    AnalyticsEventCategory category() const { return m_category; }
    AnalyticsEventAction action() const { return m_action; }
    QString label() const { return m_label; }
    void setCategory(AnalyticsEventCategory category) { m_category = category; }
    void setAction(AnalyticsEventAction action) { m_action = action; }
    void setLabel(const QString &label) { m_label = label; }

    // Sends the event; the object deletes itself afterwards.
    Q_INVOKABLE void sendEvent();

    QByteArray payload() const;
    static QString categoryName(AnalyticsEventCategory category);
    static QString actionName(AnalyticsEventAction action);

private:
    AnalyticsEventCategory m_category = CategoryApp;
    AnalyticsEventAction m_action = ActionUse;
    QString m_label;
    bool m_sent = false;
};
