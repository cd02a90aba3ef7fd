#pragma once

#include "windows/window_win.h"

// The settings window. It opens near the middle of the primary screen unless the user has
// dragged it, and keeps its place when the page changes its height.
class SettingWidget : public BasicWindow
{
    Q_OBJECT
    Q_PROPERTY(int height READ height WRITE setHeight NOTIFY heightChanged)
public:
    explicit SettingWidget(QObject *parent = nullptr);

    Q_INVOKABLE void show();
    Q_INVOKABLE void setHeight(int arg);

signals:
    void heightChanged(int height);

protected:
    void init() override;
};
