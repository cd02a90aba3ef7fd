#pragma once

#include "windows/window_win.h"

// Shows the text of an upload or service error. Its creator deletes it when it is closed.
class ErrorWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit ErrorWidget(const QString &error = QString(), QObject *parent = nullptr);

    void setError(const QString &error);
    QString error() const { return m_error; }
    // Shows the page's "Save" button, for a capture that did not go up.
    void offerSave();
    // The page's "Save" button.
    Q_INVOKABLE void requestSave() { emit saveRequested(); }

signals:
    void saveRequested();

protected:
    void init() override;

private:
    QString m_error;
};
