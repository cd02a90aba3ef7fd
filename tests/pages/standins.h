#pragma once

// Recording stand-ins for the objects the overlay page talks to, registered under the
// names the page uses so that it loads without the real overlay, canvas and selector.

#include <QBuffer>
#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QQuickItem>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QStringList>
#include <QVariantMap>

class FakeSurface : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background NOTIFY backgroundChanged)
    Q_PROPERTY(bool isPonoramWork MEMBER isPonoramWork NOTIFY isPonoramWorkChanged)
    Q_PROPERTY(QSize ponoramSize MEMBER ponoramSize NOTIFY ponoramSizeChanged)
    Q_PROPERTY(bool isPonoramError MEMBER isPonoramError NOTIFY isPonoramErrorChanged)
    Q_PROPERTY(bool isPonoramFull MEMBER isPonoramFull NOTIFY isPonoramErrorChanged)
    Q_PROPERTY(QPixmap ponoramResult READ result NOTIFY ponoramResultChanged)
    Q_PROPERTY(bool visibleCloseWindow MEMBER visibleCloseWindow NOTIFY visibleCloseWindowChanged)
    Q_PROPERTY(int primaryX MEMBER primaryX NOTIFY primaryXChanged)
    Q_PROPERTY(int primaryY MEMBER primaryY NOTIFY primaryYChanged)
    Q_PROPERTY(int primaryWidth MEMBER primaryWidth NOTIFY primaryWidthChanged)
    Q_PROPERTY(int primaryHeight MEMBER primaryHeight NOTIFY primaryHeightChanged)
    Q_PROPERTY(bool isCommandModified MEMBER isCommandModified NOTIFY isCommandModifiedChanged)

public:
    QPixmap background() const { return m_background; }
    QPixmap result() const { return ponoramResult; }
    void setBackground(const QPixmap &pixmap)
    {
        m_background = pixmap;
        emit backgroundChanged(pixmap);
    }
    void setPonoramWork(bool work)
    {
        isPonoramWork = work;
        emit isPonoramWorkChanged(work);
    }

    Q_INVOKABLE QString requestBackground()
    {
        calls << "requestBackground";
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        m_background.save(&buffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
    Q_INVOKABLE QRect toolbarScreen(int x, int y, int width, int height)
    {
        calls << QStringLiteral("toolbarScreen %1,%2 %3x%4").arg(x).arg(y).arg(width).arg(height);
        return toolbarScreenRect;
    }
    Q_INVOKABLE QPointF mapToScene(QQuickItem *item) const
    {
        int x = 0;
        int y = 0;
        for (QQuickItem *current = item; current && current->parentItem(); current = current->parentItem()) {
            x = int(x + current->x());
            y = int(y + current->y());
        }
        return QPointF(x, y);
    }
    Q_INVOKABLE QPointF mapToScenePoint(QQuickItem *, int, int) const { return QPointF(); }
    Q_INVOKABLE void cancelPonoram() { calls << "cancelPonoram"; }
    Q_INVOKABLE void setEnableMask(bool enable) { calls << QStringLiteral("setEnableMask %1").arg(enable); }
    Q_INVOKABLE void checkProperties() { calls << "checkProperties"; }
    Q_INVOKABLE void startPonoram() { calls << "startPonoram"; }
    Q_INVOKABLE void stopPonoram() { calls << "stopPonoram"; }
    Q_INVOKABLE void uploadScreen() { calls << "uploadScreen"; }
    Q_INVOKABLE void setPaintArea(QQuickItem *area) { calls << "setPaintArea " + (area ? area->objectName() : QString()); }
    Q_INVOKABLE void close() { calls << "close"; }
    Q_INVOKABLE void saveScreen() { calls << "saveScreen"; }
    Q_INVOKABLE void screenSaveToClipboard() { calls << "screenSaveToClipboard"; }
    Q_INVOKABLE void screenPostVK() { calls << "screenPostVK"; }
    Q_INVOKABLE void screenPostOdnoklassniki() { calls << "screenPostOdnoklassniki"; }
    Q_INVOKABLE void screenPostFacebook() { calls << "screenPostFacebook"; }
    Q_INVOKABLE void screenPostTwitter() { calls << "screenPostTwitter"; }
    Q_INVOKABLE void screenPostMail() { calls << "screenPostMail"; }

    QStringList calls;
    QRect toolbarScreenRect{0, 0, 1920, 1080};
    bool isPonoramWork = false;
    QSize ponoramSize{-1, -1};
    bool isPonoramError = false;
    bool isPonoramFull = false;
    QPixmap ponoramResult;
    bool visibleCloseWindow = false;
    int primaryX = 0;
    int primaryY = 0;
    int primaryWidth = 1920;
    int primaryHeight = 1080;
    bool isCommandModified = false;

signals:
    void backgroundChanged(QPixmap);
    void isPonoramWorkChanged(bool enable);
    void ponoramSizeChanged(QSize);
    void isPonoramErrorChanged(bool);
    void ponoramResultChanged();
    void visibleCloseWindowChanged(bool);
    void primaryXChanged();
    void primaryYChanged();
    void primaryWidthChanged();
    void primaryHeightChanged();
    void isCommandModifiedChanged();
    void ponoramPixmapComplete();
    void hideToolBar();

private:
    QPixmap m_background;
};

// Settings as the database hands them back: text values.
class FakeSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant showMagnifier READ showMagnifier NOTIFY valueChanged)
    Q_PROPERTY(QVariant showCloseSurfaceWindow READ showCloseSurfaceWindow WRITE setShowCloseSurfaceWindow NOTIFY valueChanged)
    Q_PROPERTY(QVariant visibleColorPanel READ visibleColorPanel WRITE setVisibleColorPanel NOTIFY valueChanged)
    Q_PROPERTY(int colorColorLine READ colorColorLine WRITE setColorColorLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant lastGraphTools READ lastGraphTools NOTIFY valueChanged)
    Q_PROPERTY(bool isUseMailClient READ isUseMailClient NOTIFY valueChanged)
    Q_PROPERTY(QVariant currentHostUrl READ currentHostUrl CONSTANT)

public:
    FakeSettings()
    {
        values = {{"showMagnifier", "1"}, {"showCloseSurfaceWindow", "1"}, {"visibleColorPanel", "1"},
                  {"colorColorLine", "7"}, {"lastGraphTools", ""}, {"mainFontFamily", "Arial"},
                  {"mainFontColor", "#25282c"}, {"isUseMailClient", false}};
    }
    Q_INVOKABLE QVariant getValue(const QString &name, bool = false) const { return values.value(name); }
    Q_INVOKABLE void setValue(const QString &name, const QVariant &value, bool = false) { write(name, value); }

    QVariant showMagnifier() const { return values.value("showMagnifier"); }
    QVariant showCloseSurfaceWindow() const { return values.value("showCloseSurfaceWindow"); }
    void setShowCloseSurfaceWindow(const QVariant &v) { write("showCloseSurfaceWindow", v); }
    QVariant visibleColorPanel() const { return values.value("visibleColorPanel"); }
    void setVisibleColorPanel(const QVariant &v) { write("visibleColorPanel", v); }
    int colorColorLine() const { return values.value("colorColorLine").toInt(); }
    void setColorColorLine(int v) { write("colorColorLine", v); }
    QVariant lastGraphTools() const { return values.value("lastGraphTools"); }
    bool isUseMailClient() const { return values.value("isUseMailClient").toBool(); }
    QVariant currentHostUrl() const { return "mavu.test"; }

    void write(const QString &name, const QVariant &value)
    {
        values.insert(name, value);
        writes << name + "=" + value.toString();
        emit valueChanged(name, value);
    }

    QVariantMap values;
    QStringList writes;

signals:
    void valueChanged(QString name, QVariant value);
};

class FakeCore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString emptyString READ emptyString CONSTANT)

public:
    QString emptyString() const { return QString(); }
    // A colour that encodes the palette position, so tests can tell which one was asked.
    Q_INVOKABLE QColor getColorFromX(int x) const { return QColor(qBound(0, x + 7, 255), 10, 20); }
    Q_INVOKABLE bool is_mac() const { return false; }
    Q_INVOKABLE void openUrl(const QString &url) { opened << url; }
    QStringList opened;
};

class FakeCanvas : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QString currentModule READ currentModule WRITE setCurrentModule NOTIFY currentModuleChanged)
    Q_PROPERTY(QObject *currentItem MEMBER currentItem NOTIFY currentItemChange)
    Q_PROPERTY(QColor currentColor MEMBER currentColor NOTIFY currentColorChanged)
    Q_PROPERTY(int currentColorX MEMBER currentColorX NOTIFY currentColorXChanged)
    Q_PROPERTY(int currentLineWidth MEMBER currentLineWidth NOTIFY currentLineWidthChanged)
    Q_PROPERTY(bool currentSubstrate MEMBER currentSubstrate NOTIFY currentSubstrateChanged)
    Q_PROPERTY(QRectF selectRect MEMBER selectRect NOTIFY selectRectChanged)
    Q_PROPERTY(bool canUndo MEMBER canUndo NOTIFY canUndoChanged)
    Q_PROPERTY(bool canRedo MEMBER canRedo NOTIFY canRedoChanged)

public:
    QString currentModule() const { return m_module; }
    void setCurrentModule(const QString &name)
    {
        modules << name;
        if (name == m_module)
            return;
        m_module = name;
        emit currentModuleChanged(name);
    }
    Q_INVOKABLE void checkUndo() { calls << "checkUndo"; }
    Q_INVOKABLE void checkRedo() { calls << "checkRedo"; }
    Q_INVOKABLE void pushColorChange(int value, int oldValue) { calls << QStringLiteral("pushColorChange %1 %2").arg(value).arg(oldValue); }
    Q_INVOKABLE void pushLineWidthChange(int value, int oldValue)
    {
        calls << QStringLiteral("pushLineWidthChange %1 %2").arg(value).arg(oldValue);
    }

    QObject *currentItem = nullptr;
    QColor currentColor;
    int currentColorX = 0;
    int currentLineWidth = 3;
    bool currentSubstrate = false;
    QRectF selectRect;
    bool canUndo = true;
    bool canRedo = false;
    QStringList calls;
    QStringList modules;

signals:
    void currentModuleChanged(QString name);
    void currentItemChange(QObject *item);
    void currentColorChanged();
    void currentColorXChanged(int value);
    void currentLineWidthChanged();
    void currentSubstrateChanged();
    void selectRectChanged();
    void canUndoChanged();
    void canRedoChanged();

private:
    QString m_module;
};

class FakeSelector : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QRectF rubberRect READ rubberRect NOTIFY rubberRectChanged)
    Q_PROPERTY(int rubberRectLeft READ left NOTIFY rubberRectLeftChanged)
    Q_PROPERTY(int rubberRectRight READ right NOTIFY rubberRectRightChanged)
    Q_PROPERTY(int rubberRectTop READ top NOTIFY rubberRectTopChanged)
    Q_PROPERTY(int rubberRectBottom READ bottom NOTIFY rubberRectBottomChanged)
    Q_PROPERTY(bool showToolBar MEMBER showToolBar NOTIFY showToolBarChanged)
    Q_PROPERTY(bool firstDraw MEMBER firstDraw NOTIFY firstDrawChanged)
    Q_PROPERTY(bool isPress MEMBER isPress NOTIFY isPressChanged)
    Q_PROPERTY(int gx MEMBER gx NOTIFY gxChanged)
    Q_PROPERTY(int gy MEMBER gy NOTIFY gyChanged)
    Q_PROPERTY(int maxSelectWidth MEMBER maxSelectWidth NOTIFY maxSelectWidthChanged)
    Q_PROPERTY(int maxSelectHeight MEMBER maxSelectHeight NOTIFY maxSelectHeightChanged)

public:
    QRectF rubberRect() const { return m_rect.normalized(); }
    int left() const { return int(rubberRect().x()); }
    int right() const { return int(rubberRect().x() + rubberRect().width()); }
    int top() const { return int(rubberRect().y()); }
    int bottom() const { return int(rubberRect().y() + rubberRect().height()); }

    // A finished selection, announced as the real item does.
    void select(const QRectF &rect)
    {
        m_rect = rect;
        firstDraw = false;
        showToolBar = true;
        emit showToolBarChanged(true);
        emit firstDrawChanged(false);
        emit rubberRectChanged(rubberRect());
        emit rubberRectLeftChanged(left());
        emit rubberRectRightChanged(right());
        emit rubberRectTopChanged(top());
        emit rubberRectBottomChanged(bottom());
    }
    Q_INVOKABLE void checkProperties() { calls << "checkProperties"; }

    bool showToolBar = false;
    bool firstDraw = true;
    bool isPress = false;
    int gx = 0;
    int gy = 0;
    int maxSelectWidth = -1;
    int maxSelectHeight = -1;
    QStringList calls;

signals:
    void rubberRectChanged(QRectF);
    void rubberRectLeftChanged(int);
    void rubberRectRightChanged(int);
    void rubberRectTopChanged(int);
    void rubberRectBottomChanged(int);
    void showToolBarChanged(bool);
    void firstDrawChanged(bool);
    void isPressChanged(bool);
    void gxChanged(int);
    void gyChanged(int);
    void maxSelectWidthChanged(int);
    void maxSelectHeightChanged(int);

private:
    QRectF m_rect;
};

class FakeMagnifier : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(int gx MEMBER gx NOTIFY gxChanged)
    Q_PROPERTY(int gy MEMBER gy NOTIFY gyChanged)

public:
    QPixmap background() const { return m_background; }
    void setBackground(const QPixmap &pixmap)
    {
        m_background = pixmap;
        emit backgroundChanged(pixmap);
    }
    QPixmap m_background;
    int gx = 0;
    int gy = 0;

signals:
    void backgroundChanged(QPixmap);
    void gxChanged(int);
    void gyChanged(int);
};
