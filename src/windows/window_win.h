#pragma once

#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QQuickView>
#include <QRect>
#include <QVariant>

class QQuickItem;

// Base of every small page window: a frameless view that shows one page from the
// resources, hands the page `window`, `core` and `settings`, keeps a key/value map for
// it, places itself on the primary screen, can be dragged by the band under its top
// margin, has rounded corners and closes on an Escape the page leaves alone.
class BasicWindow : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int width READ width WRITE setWidth NOTIFY widthChanged)
    Q_PROPERTY(int height READ height WRITE setHeight NOTIFY heightChanged)
    Q_PROPERTY(bool isTransparentSupport READ isTransparentSupport NOTIFY isTransparentSupportChanged)
    Q_PROPERTY(QRect geometry READ geometry NOTIFY geometryChanged)

public:
    explicit BasicWindow(QObject *parent = nullptr);

    void setData(const QString &key, const QVariant &value);
    Q_INVOKABLE QVariant data(const QString &key) const;
    void setMoviable(bool movable);
    Q_INVOKABLE void setPosCenter(bool arg);
    Q_INVOKABLE void move(int x, int y);
    bool isTransparentSupport() const;
    void checkCenterPosition();
    void setWidth(int w);
    void setHeight(int h);

    bool isMoved() const { return m_moved; }
    bool isCentered() const { return m_centered; }

    // Band under the top margin in which a press starts a drag (inclusive).
    static constexpr int dragBandTop = 31;
    static constexpr int dragBandBottom = 59;

public slots:
    void close();
    void hide();
    void show();
    void updatePos();
    QPointF mapToScene(QQuickItem *item) const;
    QPointF mapToScenePoint(QQuickItem *item, int x, int y) const;

signals:
    void dataChanged(QString key, QVariant value);
    void hided();
    void closed();
    void showed();
    void widthChanged(int width);
    void heightChanged(int height);
    void isTransparentSupportChanged();
    void geometryChanged();

protected:
    // Called by the subclass constructor after the base constructor: context, then init().
    void setupUi();
    virtual void init() = 0;
    // A window title: the word, " - " and the signed-in user's name.
    static QString titleWithUserName(const QString &word);
    // Sets the placement flag without placing the window now.
    void setCenteredFlag(bool centered) { m_centered = centered; }

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QRect availableArea() const;
    int cornerInset() const;
    void placeAt(int x, int y);
    void updateMask();

    QHash<QString, QVariant> m_data;
    QPixmap m_cornerImage;
    bool m_centered = false;
    int m_pressX = 0;
    int m_pressY = 0;
    bool m_moved = false;
    bool m_movable = false;
    bool m_pressed = false;
    bool m_transparent = true;
    bool m_closing = false; // inside close(), which has told of the close already
};

// Builds the corner mask of a w x h window from the four quarters of the corner image.
QBitmap roundedWindowMask(const QPixmap &corner, int w, int h);
