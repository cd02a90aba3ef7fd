#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QQuickView>
#include <QRect>
#include <QRectF>

class SurfaceSelector;

// The selector window of one screen when a fragment capture starts on several screens: a
// still image of its screen with the selection and the magnifier. The pointer's guide lines
// and the selection are mirrored on the windows of all screens, so a selection may cross
// screens. A finished selection on one screen goes out with that screen's index, the
// rectangle in its coordinates and its image; one across screens as the cut-out of all
// screens' images. Esc on any window closes all of them, Ctrl+C copies the colour of the
// pixel under the pointer first.
class SelectorWidgetMac : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int indexScreen READ indexScreen WRITE setIndexScreen NOTIFY indexScreenChanged)
    Q_PROPERTY(QPixmap background READ background NOTIFY backgroundChanged)
    Q_PROPERTY(QImage backgroundImg READ backgroundImg NOTIFY backgroundImgChanged)

public:
    explicit SelectorWidgetMac(QWindow *parent = nullptr);
    ~SelectorWidgetMac() override;

    // Takes the screen's image and covers the screen; nothing for an index out of range.
    void showOnScreen(int screen);
    // The same with the image the screen chain took for all screens at once (null: Qt's
    // grab of the screen).
    void showOnScreen(int screen, const QPixmap &picture);
    // All windows of this capture, this one included, the window of screen i at index i.
    void setListSelector(const QList<SelectorWidgetMac *> &list);

    int indexScreen() const { return m_indexScreen; }
    void setIndexScreen(int index);
    QPixmap background() const { return m_background; }
    QImage backgroundImg() const;
    SurfaceSelector *selector() const;

    Q_INVOKABLE void changeSelectorPos(int x, int y);
    Q_INVOKABLE void setGlobalX(int x);
    Q_INVOKABLE void setGlobalY(int y);
    Q_INVOKABLE void changeSelectorRect(QRectF gRect);
    Q_INVOKABLE void setGlobalRect(QRectF rect);
    Q_INVOKABLE void selectComplete();
    Q_INVOKABLE QString requestBackground() const;

public slots:
    // Closes every window of the capture once; each then emits closed().
    void close();

signals:
    void indexScreenChanged(int index);
    void backgroundChanged(QPixmap background);
    void backgroundImgChanged(QImage background);
    void selectCompleted(QPixmap pxm);
    void selectCompleted(int index, QRect rect, QPixmap pxm);
    void closed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect screenGeometry() const;
    QList<SelectorWidgetMac *> windows() const;
    QPixmap joinedSelection(const QRectF &selection) const;
    void copyColourUnderPointer() const;
    QString colourAt(const QPoint &global) const;

    QPixmap m_background;
    QList<QPointer<SelectorWidgetMac>> m_windows;
    int m_indexScreen = -1;
    QRectF m_selection = QRectF(0, 0, 0, 0);
    bool m_closing = false;
};
