#pragma once
// Shared pieces of the notes tests: pen input as a person gives it, the user-interface
// texts, pictures.
#include "resources/StringTable.h"
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

class QWidget;

// Font substitutions; call at the start of initTestCase.
void InkInitTest();
// The texts of data/orlith.inf.
StringTable InkTestStrings();
QString InkTestOutputPath(const QString& strName);

// A pen stroke through the points (widget coordinates) as mouse press, moves and release.
void InkMouseStroke(QWidget* pWidget, const QVector<QPoint>& points);
void InkMouseClick(QWidget* pWidget, const QPoint& pt);
// Text as an input method commits it (how Hangul arrives).
void InkCommitText(QWidget* pWidget, const QString& strText);
// The widget as painted, RGB32.
QImage InkRender(QWidget* pWidget);
// The number of pixels in rect darker than mid-grey.
int InkDarkPixels(const QImage& image, const QRect& rect);
