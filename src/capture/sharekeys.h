#pragma once

#include <QPixmap>

class Core;

// The share action of Ctrl + Shift + key in the capture windows: V, O, F, T and E send the
// capture to VK, Odnoklassniki, Facebook, Twitter and mail; null for any other key.
using ShareAction = void (Core::*)(QPixmap);
ShareAction shareActionForKey(int key);
