#pragma once

#include <QPixmap>
#include <QPointer>
#include <QQuickView>
#include <QRect>
#include <QSize>

#include <memory>

class Core;
class MagnifierItem;
class MPainterArea;
class Ponoram;
class PonoramPreview;
class ServerPicture;
class SurfaceSelector;

// The frameless full-screen window of a fragment capture: a still image of the screens
// with the selection, the annotation canvas, the magnifier and the toolbar on top. Core
// configures it, shows it, pulls the rendered selection out of it and ends the capture.
//
// One window serves every capture: it is made once, and each capture grabs the screens into
// it while it is hidden, shows it, and hides it again. Between captures the window drops the
// picture and returns its page to the state of a new one, so nothing of one capture (items,
// history, tool, toolbar, confirm box, selection) shows in the next.
class SurfaceWidget : public QQuickView
{
    Q_OBJECT
    // The page's picture; null while the X server holds the picture, which the window then
    // hands to the page's items itself.
    Q_PROPERTY(QPixmap background READ heldBackground WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(bool isPonoramWork READ isPonoramWork NOTIFY isPonoramWorkChanged)
    Q_PROPERTY(QSize ponoramSize READ ponoramSize NOTIFY ponoramSizeChanged)
    Q_PROPERTY(bool isPonoramError READ isPonoramError NOTIFY isPonoramErrorChanged)
    // The error is that the stitched image reached the largest size it may have.
    Q_PROPERTY(bool isPonoramFull READ isPonoramFull NOTIFY isPonoramErrorChanged)
    // The stitched image of the last completed scrolling capture; null before one.
    Q_PROPERTY(QPixmap ponoramResult READ ponoramResult NOTIFY ponoramResultChanged)
    Q_PROPERTY(bool visibleCloseWindow READ visibleCloseWindow WRITE setVisibleCloseWindow NOTIFY visibleCloseWindowChanged)
    Q_PROPERTY(int primaryX READ primaryX NOTIFY primaryXChanged)
    Q_PROPERTY(int primaryY READ primaryY NOTIFY primaryYChanged)
    Q_PROPERTY(int primaryWidth READ primaryWidth NOTIFY primaryWidthChanged)
    Q_PROPERTY(int primaryHeight READ primaryHeight NOTIFY primaryHeightChanged)
    Q_PROPERTY(bool isCommandModified READ isCommandModified NOTIFY isCommandModifiedChanged)

public:
    explicit SurfaceWidget(QWindow *parent = nullptr);
    ~SurfaceWidget() override;

    void setFullscreen(bool fullScreen);
    void setQuickScreen(bool quick);
    // Starts a capture over the whole desktop; during a capture it only shows the window again.
    void show();
    void showOnWindow(int screen, QRect rect, QPixmap shot);
    // Hides the window and lets the picture go; the page is reset for the next capture.
    void endCapture();
    bool isCapturing() const { return m_capturing; }
    QRect selectRect() const;
    QPixmap renderRubberRect();

    // The screen's picture, read from the X server when it holds it.
    QPixmap background() const;
    // False when the capture's picture of the screen could not be read: a result would hold
    // nothing but the annotations, so none is given.
    bool hasPicture() const;
    QPixmap heldBackground() const { return m_still ? QPixmap() : m_background; }
    void setBackground(const QPixmap &background);
    bool isPonoramWork() const { return m_isPonoramWork; }
    QSize ponoramSize() const { return m_ponoramSize; }
    bool isPonoramError() const { return m_isPonoramError; }
    bool isPonoramFull() const { return m_isPonoramFull; }
    QPixmap ponoramResult() const { return m_ponoramResult; }
    bool visibleCloseWindow() const { return m_visibleCloseWindow; }
    void setVisibleCloseWindow(bool visible);
    int primaryX() const;
    int primaryY() const;
    int primaryWidth() const;
    int primaryHeight() const;
    bool isCommandModified() const;
    MPainterArea *paintArea() const { return m_canvas; }
    SurfaceSelector *selector() const { return m_selector; }

    Q_INVOKABLE void saveScreen();
    Q_INVOKABLE void screenSaveToClipboard();
    Q_INVOKABLE void screenPostVK();
    Q_INVOKABLE void screenPostOdnoklassniki();
    Q_INVOKABLE void screenPostFacebook();
    Q_INVOKABLE void screenPostTwitter();
    Q_INVOKABLE void screenPostMail();
    Q_INVOKABLE void checkProperties();
    Q_INVOKABLE void setEnableMask(bool enable);
    Q_INVOKABLE QRect toolbarScreen(int x, int y, int width, int height) const;
    Q_INVOKABLE void setPaintArea(MPainterArea *canvas);
    // The picture as a PNG data URL, made on the first call of a capture.
    Q_INVOKABLE QString requestBackground() const;
    Q_INVOKABLE QPointF mapToScene(QQuickItem *item) const;
    Q_INVOKABLE QPointF mapToScenePoint(QQuickItem *item, int x, int y) const;
    Q_INVOKABLE void uploadScreen();

public slots:
    void startPonoram();
    void stopPonoram();
    void cancelPonoram();
    void close();
    void ponoramComplete(QPixmap result);
    void setPonoramSize(QSize size);
    void ponoramError();
    void ponoramFull();

signals:
    void backgroundChanged(QPixmap background);
    void isPonoramWorkChanged(bool enable);
    void ponoramSizeChanged(QSize size);
    void isPonoramErrorChanged(bool error);
    void ponoramResultChanged();
    void visibleCloseWindowChanged(bool visible);
    void primaryXChanged();
    void primaryYChanged();
    void primaryWidthChanged();
    void primaryHeightChanged();
    void isCommandModifiedChanged();
    void uploadedScreen();
    void uploadPonoram(QPixmap res);
    void ponoramPixmapComplete();
    void closed();
    void hideToolBar();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void beginCapture(const QRect &area, const QPixmap &picture);
    void showStill(std::shared_ptr<ServerPicture> still);
    void showPicture();
    void layOutPage(const QSize &size);
    void resetCapture();
    void findPageItems();
    MagnifierItem *magnifier() const;
    // The canvas of the scrolling-capture result.
    MPainterArea *ponoramCanvas() const;
    bool hasEmptySelection() const;
    bool canDeliver() const;
    bool hasCompleteSelection() const;
    void setPonoramWork(bool work);
    void takeKeyboardBack();
    void setPonoramError(bool error);
    Ponoram *ponoramEngine();
    PonoramPreview *ponoramPreview() const;
    // The selection in the coordinates of the virtual desktop, which the engine grabs.
    QRect globalSelection() const;
    void finishRunningPonoram();
    void clearPonoramResult();
    void eraseResultAnnotations();
    // Stops the engine at once and lets it go; the next run makes a new one.
    void dropPonoram();
    void resetPonoram();
    void shareWith(void (Core::*share)(QPixmap));
    // Waits for the toolbar and the unchecked items to be repainted; false when the
    // overlay went away meanwhile.
    bool pauseForRepaint();
    void copyToClipboard();

    bool handleConfirmBoxKey(QKeyEvent *event);
    bool handleResultKey(QKeyEvent *event);
    bool handleCopyKey();
    bool handleEscape();
    void copyColourUnderCursor();

    MPainterArea *m_canvas = nullptr;
    MPainterArea *m_mainCanvas = nullptr;
    SurfaceSelector *m_selector = nullptr;
    int m_pressX = 0;
    int m_pressY = 0;
    bool m_pressed = false;
    bool m_moving = false;
    bool m_quick = false;
    bool m_fullScreen = false;
    bool m_isPonoramWork = false;
    bool m_isPonoramError = false;
    bool m_isPonoramFull = false;
    bool m_visibleCloseWindow = false;
    bool m_maskOn = false;
    bool m_hasPonoramResult = false;
    bool m_repaintPause = false;
    bool m_capturing = false;
    bool m_quickDelivered = false;
    bool m_resetPending = false;
    mutable QPixmap m_background;
    std::shared_ptr<ServerPicture> m_still;
    mutable QString m_backgroundDataUrl;
    QPixmap m_ponoramResult;
    QSize m_ponoramSize = QSize(-1, -1);
    Ponoram *m_engine = nullptr;
};
