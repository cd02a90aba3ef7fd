#include "captureitemtypes.h"

#include "magnifieritem.h"
#include "screenpicture.h"
#include "surfaceselector.h"

#include <QtQml/qqml.h>

void registerCaptureItemTypes()
{
    qmlRegisterType<SurfaceSelector>("MavuComponent", 1, 0, "SurfaceSelector");
    qmlRegisterType<MagnifierItem>("MavuComponent", 1, 0, "MagnifierItem");
    qmlRegisterType<ScreenPicture>("MavuComponent", 1, 0, "ScreenPicture");
}
