#include "tests/support/TestOutput.h"

#include <QDir>
#include <QImage>
#include <QWidget>

bool SaveTestPng(QWidget* pWidget, const QString& strName, double dScale)
{
    const QString strDir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (strDir.isEmpty() || !QDir().mkpath(strDir))
        return false;
    QImage image(pWidget->size() * dScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dScale);
    image.fill(Qt::white);
    pWidget->render(&image);
    return image.save(QDir(strDir).filePath(strName), "PNG");
}
