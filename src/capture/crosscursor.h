#pragma once

#include <QCursor>

// The capture cursor: the cross picture from the resources with its hot spot at its centre.
// Falls back to the platform's cross cursor while the picture is not in the resources.
QCursor captureCrossCursor();
