#pragma once

#include "windows/window_win.h"

// A small window with a title, a message and "Ok" (information) or "Ok" and "Cancel"
// (question). The answer comes back as result(int): 0 for "Ok", 1 for "Cancel"; closing it
// any other way gives no result. The caller deletes it when it is closed.
class MessageDialog : public BasicWindow
{
    Q_OBJECT
public:
    explicit MessageDialog(QObject *parent = nullptr);
    ~MessageDialog() override;

    void information(const QString &title, const QString &message);
    void questions(const QString &title, const QString &message);
    Q_INVOKABLE void done(int r);

public slots:
    void on_pbOk_clicked();
    void on_pbCancel_clcked();

signals:
    void result(int r);

protected:
    void init() override;

private:
    void load(const QString &type, const QString &title, const QString &message);
};

// An information dialog that deletes itself when closed.
void showInformationDialog(const QString &title, const QString &message);
