// Small desktop services that the pages call through `core`.

#include "core.h"

#include <QClipboard>

namespace {
constexpr int paletteOffset = 7;
constexpr int paletteRow = 5;
}

QColor Core::getColorFromX(int x) const
{
    const int column = qBound(0, x + paletteOffset, m_paletteStrip.width() - 1);
    if (m_paletteStrip.isNull())
        return QColor(Qt::black);
    QColor colour = m_paletteStrip.pixelColor(column, paletteRow);
    colour.setAlpha(255);
    return colour;
}

QString Core::clipboardText() const
{
    return m_clipboard ? m_clipboard->text() : QString();
}

QString Core::getWindowsManager() const
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower();
}

bool Core::is_mac() const { return false; }
void Core::showMainWindow() {}
void Core::startArrowAnimation() {}
void Core::stopArrowAnimation() {}
