// Captures on several screens: a selector window on every screen, the editor window for
// images that span screens.

#include "core.h"

#include "capture/editponoramwidget.h"
#include "capture/selectorwidget_linux.h"
#include "capture/surfacewidget.h"
#include "platform/usefull_linux.h"
#include "settings/debuglog.h"
#include "windows/maintoolwidget.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QScreen>

SelectorWidgetMac *Core::surfaceSelectorWidgetMac()
{
    m_selectorWidgetMac = new SelectorWidgetMac();
    connect(m_selectorWidgetMac, &SelectorWidgetMac::closed, m_selectorWidgetMac, &QObject::deleteLater);
    return m_selectorWidgetMac;
}

// A capture already under way (its selector windows or its overlay) is not started again.
bool Core::captureUnderWay() const
{
    return (m_selectorWidgetMac && m_selectorWidgetMac->isVisible()) || (m_surface && m_surface->isCapturing());
}

// What screen() will do: a capture already open (or its save dialog) is only brought
// forward, and a whole-desktop picture on several screens is dropped while the editor
// window is open.
bool Core::startsNewCapture(bool fullscreen) const
{
    if (QGuiApplication::modalWindow() || captureUnderWay())
        return false;
    return !(fullscreen && m_editPonoram && QGuiApplication::screens().size() >= 2);
}

void Core::openSelectorWindows()
{
    if (m_mainToolWidget) {
        m_mainToolWidget->hide();
        m_mainToolWidget->setPosition(-1000, -1000);
    }
    // The main tool window leaves the screen before any screen is read.
    QCoreApplication::processEvents();
    const QList<QPixmap> pictures = linuxCreateScreenShots(); // each of the desktop's tools started once
    QList<SelectorWidgetMac *> windows;
    for (int i = 0; i < pictures.size(); ++i) {
        SelectorWidgetMac *window = surfaceSelectorWidgetMac();
        windows.append(window);
        window->showOnScreen(i, pictures.at(i));
        connect(window, qOverload<QPixmap>(&SelectorWidgetMac::selectCompleted), this, &Core::ponoramEdit);
        connect(window, qOverload<int, QRect, QPixmap>(&SelectorWidgetMac::selectCompleted), this,
                &Core::openSurfaceRect);
    }
    for (SelectorWidgetMac *window : windows)
        window->setListSelector(windows);
}

void Core::ponoramEdit(QPixmap res)
{
    qCDebug(lcMavu) << Q_FUNC_INFO << res.isNull() << m_editPonoram;
    emit deletedSurfaceScreen();
    if (m_editPonoram)
        return;
    m_editPonoram = new EditPonoramWidget(res);
    m_editPonoram->show();
    m_editPonoram->setBackground(res);
    connect(m_editPonoram, &EditPonoramWidget::closed, this, &Core::deleteEditPonoram);
}

void Core::deleteEditPonoram()
{
    qCDebug(lcMavu) << "void Core::deleteEditPonoram()" << m_editPonoram;
    if (m_editPonoram) {
        m_editPonoram->deleteLater();
        m_editPonoram = nullptr;
    }
}
