#pragma once
// Pictures that tests leave for a person to look at, under $QUILLDAY_TEST_OUTPUT.
#include <QString>

class QWidget;

// Saves a grab of the widget as a PNG file of that name; false when it could not.
// dScale draws it as a screen of that many device pixels to a pixel would show it.
bool SaveTestPng(QWidget* pWidget, const QString& strName, double dScale = 1.0);
