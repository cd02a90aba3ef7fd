#pragma once

// Registers the capture overlay's items for QML in module "MavuComponent" 1.0:
// "SurfaceSelector", "MagnifierItem" and "ScreenPicture". Safe to call more than once.
void registerCaptureItemTypes();
