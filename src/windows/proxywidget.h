#pragma once

#include "windows/window_win.h"

// The proxy settings window, centred. It is kept after closing and shown again on request.
class ProxyWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit ProxyWidget(QObject *parent = nullptr);

protected:
    void init() override;
};
