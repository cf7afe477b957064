#include "tests/support/TestOutput.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

bool SaveTestPng(QWidget* pWidget, const QString& strName)
{
    const QString strDir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    return !strDir.isEmpty() && QDir().mkpath(strDir) && pWidget->grab().save(QDir(strDir).filePath(strName), "PNG");
}
