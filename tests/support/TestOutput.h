#pragma once
// Pictures that tests leave for a person to look at, under $QUILLDAY_TEST_OUTPUT.
#include <QString>

class QWidget;

// Saves a grab of the widget as a PNG file of that name; false when it could not.
bool SaveTestPng(QWidget* pWidget, const QString& strName);
