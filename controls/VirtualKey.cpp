#include "controls/VirtualKey.h"
#include "platform/WinTypes.h"
#include <Qt>

int VirtualKeyFromQt(int nQtKey)
{
    switch (nQtKey) {
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Delete: return VK_DELETE;
    default: break;
    }
    if ((nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9) || (nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z))
        return nQtKey;  // Qt's codes for these are their ASCII upper-case characters
    return 0;
}
