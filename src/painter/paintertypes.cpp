#include "paintertypes.h"

#include "abstractgraphitem.h"
#include "blackoutarea.h"
#include "mpainterarea.h"

#include <QQmlEngine>

void registerPainterTypes()
{
    const char *uri = "MavuComponent";
    qmlRegisterType<MPainterArea>(uri, 1, 0, "MPainterArea");
    qmlRegisterType<BlackoutArea>(uri, 1, 0, "BlackoutArea");
    qmlRegisterUncreatableType<AbstractGraphItem>(uri, 1, 0, "AbstractGraphItem",
                                                  QStringLiteral("annotation items are made by the canvas tools"));
}
