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

protected:
    void init() override;

private:
    QString m_error;
};
