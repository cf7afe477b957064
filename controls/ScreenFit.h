#pragma once
// Keeps pop-up windows (questions, drop-down calendars) on the screen they open on: a
// handheld's screen may be narrower than such a window would make itself.
#include <QRect>

class QWidget;

// rc moved, and made smaller where it is larger than the area, so that it lies inside it.
QRect FitRectInto(const QRect& rc, const QRect& area);
// Fits a top-level window into the available area of its screen (the screen at its
// centre, else the primary one). A width it has to lose is taken from its minimum too.
void FitWindowOnScreen(QWidget* pWindow);
// Watches a top-level window and fits it on its screen each time it is shown.
void KeepWindowOnScreen(QWidget* pWindow);
