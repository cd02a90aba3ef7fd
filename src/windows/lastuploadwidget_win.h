#pragma once

#include "windows/window_win.h"

#include <QTimer>

// The window that tells that the uploads are complete. Shown by the controller, it hides
// itself 10 seconds after the latest showing.
class LastUploadWidget : public BasicWindow
{
    Q_OBJECT
public:
    explicit LastUploadWidget(QObject *parent = nullptr);

    // Not visible to the page: a page's window.show() does not restart the 10 seconds.
    void show();

    static constexpr int hideAfterMsecs = 10000;

protected:
    void init() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QTimer m_hideTimer;
};
