#pragma once

#include "windows/window_win.h"

// The upload progress window in the bottom-right corner. Its page grows by one row per
// running upload; the window grows upwards and stays in its corner.
class UploadWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit UploadWidget(QObject *parent = nullptr);

protected:
    void init() override;
    void resizeEvent(QResizeEvent *event) override;
};
