#include "capture/sharekeys.h"

#include "core.h"

ShareAction shareActionForKey(int key)
{
    switch (key) {
    case Qt::Key_V: return &Core::screenPostVK;
    case Qt::Key_O: return &Core::screenPostOdnoklassniki;
    case Qt::Key_F: return &Core::screenPostFacebook;
    case Qt::Key_T: return &Core::screenPostTwitter;
    case Qt::Key_E: return &Core::screenPostMail;
    default: return nullptr;
    }
}
