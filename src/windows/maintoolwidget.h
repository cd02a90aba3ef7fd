#pragma once

#include "windows/window_win.h"

// The main tool panel: a small launcher in the bottom-right corner. The controller builds
// it and keeps it hidden.
class MainToolWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit MainToolWidget(QObject *parent = nullptr);

protected:
    void init() override;
};
