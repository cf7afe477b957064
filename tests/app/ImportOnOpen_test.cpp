// An iCalendar file opened from a file manager: asked first, imported on Yes only.
#include "app/ImportOnOpen.h"
#include "ical/CICalExporter.h"
#include "pim/IPOutlookApp.h"
#include "platform/CScriptedMessageBox.h"
#include "resources/StringTable.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kCalendar[] = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                         "BEGIN:VEVENT\r\nUID:a@test\r\nDTSTAMP:20240101T000000Z\r\n"
                         "DTSTART:20070301T090000\r\nDTEND:20070301T100000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
                         "BEGIN:VTODO\r\nUID:b@test\r\nDTSTAMP:20240101T000000Z\r\nSUMMARY:Call\r\nEND:VTODO\r\n"
                         "END:VCALENDAR\r\n";

class ImportOnOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(SUCCEEDED(m_app.Logon(m_dir.filePath(QStringLiteral("pim.sqlite")))));
        LoadResourceStringsFrom(&m_strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/orlith.inf"));
        m_strIcs = m_dir.filePath(QStringLiteral("holidays.ics"));
        QFile file(m_strIcs);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kCalendar);
    }
    // Appointments and tasks now in the store.
    std::pair<int, int> Stored()
    {
        CICalExporter exporter(m_app.GetStore());
        QString strError;
        if (!exporter.ExportFile(m_dir.filePath(QStringLiteral("out.ics")), &strError))
            return {-1, -1};
        return {exporter.Appointments(), exporter.Tasks()};
    }

    QTemporaryDir m_dir;
    IPOutlookApp m_app;
    StringTable m_strings;
    QString m_strIcs;
};

}  // namespace

TEST_F(ImportOnOpen, YesImportsTheFile)
{
    CScriptedMessageBox boxes({IDYES});
    EXPECT_EQ(AskAndImportFile(m_strIcs, m_strings, &m_app), TRUE);
    ASSERT_EQ(boxes.Calls().size(), 1);
    const auto& call = boxes.Calls().front();
    EXPECT_EQ(call.strCaption, QStringLiteral("Quillday"));
    EXPECT_TRUE(call.strText.startsWith(GetResourceString(m_strings, QStringLiteral("RC_COMMON_CONFIRM_IMPORT"))));
    EXPECT_TRUE(call.strText.contains(m_strIcs));
    EXPECT_EQ(call.nType & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(Stored(), std::make_pair(1, 1));
}

TEST_F(ImportOnOpen, NoLeavesTheStoreAlone)
{
    CScriptedMessageBox boxes({IDNO});
    EXPECT_EQ(AskAndImportFile(m_strIcs, m_strings, &m_app), FALSE);
    EXPECT_EQ(boxes.Calls().size(), 1);
    EXPECT_EQ(Stored(), std::make_pair(0, 0));
}

TEST_F(ImportOnOpen, AFileThatCannotBeImportedIsReported)
{
    const QString strBad = m_dir.filePath(QStringLiteral("notes.ics"));
    QFile file(strBad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a calendar\n");
    file.close();
    for (const QString& path : {strBad, m_dir.filePath(QStringLiteral("missing.ics"))}) {
        CScriptedMessageBox boxes({IDYES, IDOK});
        EXPECT_EQ(AskAndImportFile(path, m_strings, &m_app), FALSE);
        ASSERT_EQ(boxes.Calls().size(), 2);
        EXPECT_TRUE(boxes.Calls()[1].strText.startsWith(
            GetResourceString(m_strings, QStringLiteral("RC_COMMON_IMPORT_FAILED"))));
        EXPECT_TRUE(boxes.Calls()[1].strText.contains(path));
    }
    EXPECT_EQ(Stored(), std::make_pair(0, 0));
}

TEST_F(ImportOnOpen, WhatTheImportLeftOutIsShown)
{
    QFile file(m_strIcs);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
               "BEGIN:VEVENT\r\nUID:kept@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20070301T090000\r\n"
               "SUMMARY:Kept\r\nURL:http://example.org/\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:gone@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20070302T090000\r\n"
               "SUMMARY:Gone\r\nSTATUS:CANCELLED\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    file.close();
    CScriptedMessageBox boxes({IDYES, IDOK});
    EXPECT_EQ(AskAndImportFile(m_strIcs, m_strings, &m_app), TRUE);
    ASSERT_EQ(boxes.Calls().size(), 2);
    const QString strText = boxes.Calls()[1].strText;
    EXPECT_TRUE(strText.startsWith(GetResourceString(m_strings, QStringLiteral("RC_COMMON_IMPORT_INCOMPLETE"))));
    EXPECT_TRUE(strText.contains(QLatin1String("1 added, 0 updated, 0 unchanged, 1 skipped."))) << strText.toStdString();
    EXPECT_TRUE(strText.contains(QLatin1String("Skipped gone@test: cancelled event"))) << strText.toStdString();
    EXPECT_TRUE(strText.contains(QLatin1String("Dropped URL: 1"))) << strText.toStdString();
    EXPECT_EQ(Stored(), std::make_pair(1, 0));
}
