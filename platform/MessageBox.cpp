#include "platform/MessageBox.h"

#include <cstdio>

namespace {

MessageBoxHandler g_handler;  // empty: write to standard error and answer the default

int StandardErrorMessageBox(const QString& text, const QString& caption, unsigned type)
{
    std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return DefaultMessageBoxButton(type);
}

}  // namespace

int MessageBox(const QString& text, const QString& caption, unsigned type)
{
    if (g_handler)
        return g_handler(text, caption, type);
    return StandardErrorMessageBox(text, caption, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

int DefaultMessageBoxButton(unsigned type)
{
    const unsigned nDefault = (type & MB_DEFMASK) >> 8;  // 0: first button, 1: second, 2: third
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return nDefault == 0 ? IDOK : IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return nDefault == 0 ? IDABORT : (nDefault == 1 ? IDRETRY : IDIGNORE);
    case MB_YESNOCANCEL:
        return nDefault == 0 ? IDYES : (nDefault == 1 ? IDNO : IDCANCEL);
    case MB_YESNO:
        return nDefault == 0 ? IDYES : IDNO;
    case MB_RETRYCANCEL:
        return nDefault == 0 ? IDRETRY : IDCANCEL;
    default:
        return IDOK;
    }
}
