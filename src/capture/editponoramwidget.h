#pragma once

#include <QPixmap>
#include <QPointF>
#include <QQuickView>

class Core;
class MPainterArea;
class QQuickItem;
class SurfaceSelector;

// The editor window of a finished image (all screens joined, a selection across screens, a
// stitched scrolling capture): the image on the annotation canvas with the capture toolbar,
// zoom and scroll bars. Its actions render the annotated image at its own size, whatever the
// zoom, and hand it to the controller. Emits closed() when done; the controller deletes it.
// Closing it with Escape, its close button or the window manager asks first while the image
// carries annotations, as the capture overlay does.
class EditPonoramWidget : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int maxWidth READ maxWidth NOTIFY maxWidthChanged)
    Q_PROPERTY(int maxHeight READ maxHeight NOTIFY maxHeightChanged)
    Q_PROPERTY(int currentPixmapAcpectRatio READ currentPixmapAcpectRatio NOTIFY currentPixmapAcpectRatioChanged)
    Q_PROPERTY(bool visibleCloseWindow READ visibleCloseWindow WRITE setVisibleCloseWindow NOTIFY visibleCloseWindowChanged)
    // False without a compositor: the page then drops its transparent margin, which would
    // come out black.
    Q_PROPERTY(bool isTransparentSupport READ isTransparentSupport CONSTANT)

public:
    explicit EditPonoramWidget(QPixmap image, QWindow *parent = nullptr);
    ~EditPonoramWidget() override;

    // Shows the window centred in its screen's available area.
    void show();
    void setBackground(QPixmap pm);

    int maxWidth() const;
    int maxHeight() const { return m_maxHeight; }
    int currentPixmapAcpectRatio() const { return m_currentPixmapAcpectRatio; }
    MPainterArea *paintArea() const { return m_canvas; }
    bool visibleCloseWindow() const { return m_visibleCloseWindow; }
    void setVisibleCloseWindow(bool visible);
    bool isTransparentSupport() const { return m_transparent; }

    Q_INVOKABLE void uploadScreen();
    Q_INVOKABLE void saveScreen();
    Q_INVOKABLE void screenSaveToClipboard();
    Q_INVOKABLE void screenPostVK();
    Q_INVOKABLE void screenPostOdnoklassniki();
    Q_INVOKABLE void screenPostFacebook();
    Q_INVOKABLE void screenPostTwitter();
    Q_INVOKABLE void screenPostMail();
    Q_INVOKABLE void move(int x, int y);
    Q_INVOKABLE QString requestBackground() const;
    // For the shared tool tip: where an item of the page stands in the window.
    Q_INVOKABLE QPointF mapToScene(QQuickItem *item) const;
    // Closes, or asks first when annotations would be lost.
    Q_INVOKABLE void requestClose();

public slots:
    void close();

signals:
    void maxWidthChanged();
    void maxHeightChanged();
    void currentPixmapAcpectRatioChanged();
    void closed();
    void backgroundChange();
    void visibleCloseWindowChanged(bool visible);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QPixmap renderImage() const;
    void handOver(void (Core::*action)(QPixmap));
    void centreInScreen();
    bool handleShareKey(int key);
    void copyKey();
    void escapeKey();
    void handleConfirmBoxKey(int key);
    bool hasAnnotations() const;

    QPixmap m_background;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
    int m_currentPixmapAcpectRatio = 1;
    bool m_transparent = true;
    bool m_visibleCloseWindow = false;
    MPainterArea *m_canvas = nullptr;
    SurfaceSelector *m_selector = nullptr;
};
