#include "tests/support/ink_helper.h"
#include "platform/FontSubstitution.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QWidget>

void InkInitTest()
{
    InstallFontSubstitutions();
}

StringTable InkTestStrings()
{
    StringTable strings;
    LoadResourceStringsFrom(&strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/orlith.inf"));
    return strings;
}

QString InkTestOutputPath(const QString& strName)
{
    QString strDir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (strDir.isEmpty())
        strDir = QDir::tempPath() + QStringLiteral("/quillday-test-output");
    QDir().mkpath(strDir);
    return strDir + QLatin1Char('/') + strName;
}

namespace {

void SendMouse(QWidget* pWidget, QEvent::Type type, const QPoint& pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

}  // namespace

void InkMouseStroke(QWidget* pWidget, const QVector<QPoint>& points)
{
    SendMouse(pWidget, QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    for (qsizetype i = 1; i < points.size(); ++i)
        SendMouse(pWidget, QEvent::MouseMove, points[i], Qt::LeftButton);
    SendMouse(pWidget, QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
}

void InkMouseClick(QWidget* pWidget, const QPoint& pt)
{
    InkMouseStroke(pWidget, {pt});
}

void InkCommitText(QWidget* pWidget, const QString& strText)
{
    QInputMethodEvent event;
    event.setCommitString(strText);
    QApplication::sendEvent(pWidget, &event);
}

QImage InkRender(QWidget* pWidget)
{
    return pWidget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int InkDarkPixels(const QImage& image, const QRect& rect)
{
    int nDark = 0;
    const QRect rc = rect & image.rect();
    for (int y = rc.top(); y <= rc.bottom(); ++y) {
        for (int x = rc.left(); x <= rc.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                ++nDark;
        }
    }
    return nDark;
}
