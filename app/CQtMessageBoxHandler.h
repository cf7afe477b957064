#pragma once
// Shows the program's message boxes with QMessageBox: the buttons, icon and default
// button of the box type, answered with the ID of the pressed button. Without a
// QApplication (before the window exists) a box falls back to standard error.
#include <QString>

class CQtMessageBoxHandler {
public:
    static void Install();
    static int Show(const QString& text, const QString& caption, unsigned type);
};
