#pragma once

// Registers the small page items of this folder in "MavuComponent" 1.0:
// CursorShapeArea and WheelArea. Safe to call more than once.
void registerWindowQmlTypes();
