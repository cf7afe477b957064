#include "app/CQtMessageBoxHandler.h"

#include "controls/ScreenFit.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <vector>

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int nId;
};

std::vector<ButtonChoice> ButtonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

}  // namespace

void CQtMessageBoxHandler::Install() { SetMessageBoxHandler(&CQtMessageBoxHandler::Show); }

int CQtMessageBoxHandler::Show(const QString& text, const QString& caption, unsigned type)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        return DefaultMessageBoxButton(type);
    }
    QMessageBox box(IconOf(type), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    const std::vector<ButtonChoice> buttons = ButtonsOf(type);
    for (const ButtonChoice& choice : buttons)
        box.addButton(choice.button);
    const int nDefault = DefaultMessageBoxButton(type);
    int nEscape = nDefault;
    for (const ButtonChoice& choice : buttons) {
        if (choice.nId == nDefault)
            box.setDefaultButton(choice.button);
        if (choice.nId == IDCANCEL || choice.nId == IDNO || buttons.size() == 1)
            nEscape = choice.nId;  // Escape answers Cancel, else No, as the device's close box
    }
    KeepWindowOnScreen(&box);
    box.exec();
    for (const ButtonChoice& choice : buttons) {
        if (box.clickedButton() == box.button(choice.button))
            return choice.nId;
    }
    return nEscape;
}
