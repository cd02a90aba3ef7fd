#pragma once

// Registers the canvas types MPainterArea, BlackoutArea and AbstractGraphItem in the QML
// module "MavuComponent" 1.0. Safe to call more than once.
void registerPainterTypes();
