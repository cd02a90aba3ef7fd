#include "windows/windowtypes.h"

#include "windows/cursorshapearea.h"
#include "windows/wheelarea.h"

#include <QtQml>

void registerWindowQmlTypes()
{
    qmlRegisterType<CursorShapeArea>("MavuComponent", 1, 0, "CursorShapeArea");
    qmlRegisterType<WheelArea>("MavuComponent", 1, 0, "WheelArea");
}
