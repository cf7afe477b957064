#pragma once
// An import as the user reads its outcome, and an export, of one test store.
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"

#include <QBuffer>
#include <QStringList>
#include <gtest/gtest.h>

// Imports the text: the counts line and every line of what was left out or changed after
// it; or the error.
inline QString ImportSaying(CTestStore& store, const QByteArray& text)
{
    CICalImporter importer(store.App().GetStore());
    QString strError;
    if (!importer.ImportText(text, &strError))
        return strError;
    return (QStringList() << importer.CountsLine() << importer.LeftOut()).join(u'\n');
}

// The whole store as a calendar file.
inline QByteArray ExportAll(CTestStore& store)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(store.App().GetStore());
    QString strError;
    EXPECT_TRUE(exporter.Export(&buffer, &strError)) << strError.toStdString();
    return buffer.data();
}
