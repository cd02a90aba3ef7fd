#pragma once

#include "windows/window_win.h"

// The sign-in window: centred, movable, above other windows.
class AutorizationWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit AutorizationWidget(QObject *parent = nullptr);

protected:
    void init() override;
};
