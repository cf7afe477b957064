// Walks longer than one read batch: every item comes once, in the asked order.
#include "tests/support/PimTestStore.h"
#include "ical/CICalImporter.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

class Paging : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        // 1300 tasks and 1300 appointments in one import, with many equal dates.
        QByteArray text = "BEGIN:VCALENDAR\r\n";
        for (int i = 0; i < kItems; ++i) {
            const QByteArray day = QByteArray::number(20080101 + i % 28);
            text += "BEGIN:VTODO\r\nUID:t" + QByteArray::number(i) + "\r\nSUMMARY:task " + QByteArray::number(i % 97)
                  + "\r\nDUE;VALUE=DATE:" + day + "\r\nPRIORITY:" + QByteArray::number(1 + i % 9) + "\r\nEND:VTODO\r\n";
            text += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) + "\r\nDTSTART:" + day + "T0900" + QByteArray::number(i % 6)
                  + "0\r\nDTEND:" + day + "T100000\r\nSUMMARY:event\r\nEND:VEVENT\r\n";
        }
        text += "END:VCALENDAR\r\n";
        CICalImporter importer(m_store.App().GetStore());
        QString strError;
        ASSERT_TRUE(importer.ImportText(text, &strError)) << qPrintable(strError);
    }

    template <class Item, class Key>
    QVector<std::pair<Key, int32_t>> Walk(int nFolder, const char* pszSort, bool bDescending, bool bRecurrences,
                                           const QString& strRestriction, Key (*fnKey)(Item*))
    {
        std::unique_ptr<IFolder> pFolder;
        std::unique_ptr<IPOutlookItemCollection> pItems;
        m_store.App().GetDefaultFolder(nFolder, &pFolder);
        pFolder->get_Items(&pItems);
        if (pszSort) {
            EXPECT_EQ(pItems->Sort(pszSort, bDescending ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
        }
        pItems->put_IncludeRecurrences(bRecurrences ? VARIANT_TRUE : VARIANT_FALSE);
        QVector<std::pair<Key, int32_t>> out;
        std::unique_ptr<Item> p;
        for (HRESULT hr = pItems->Find(strRestriction, &p); SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
            int32_t nOid = 0;
            p->get_Oid(&nOid);
            out.push_back({fnKey(p.get()), nOid});
        }
        return out;
    }

    template <class Key>
    static void ExpectOrderedAndUnique(const QVector<std::pair<Key, int32_t>>& v, bool bDescending, int nCount)
    {
        EXPECT_EQ(v.size(), nCount);
        QSet<int32_t> oids;
        for (int i = 0; i < v.size(); ++i) {
            oids.insert(v[i].second);
            if (i > 0) {
                EXPECT_TRUE(bDescending ? v[i - 1].first >= v[i].first : v[i - 1].first <= v[i].first) << i;
            }
        }
        EXPECT_EQ(oids.size(), nCount);
    }

    static DATE Due(ITask* p) { DATE d = 0; p->get_DueDate(&d); return d; }
    static QString Subject(ITask* p) { QString s; p->get_Subject(&s); return s; }
    static DATE Start(IAppointment* p) { DATE d = 0; p->get_Start(&d); return d; }
    static int32_t Zero(ITask*) { return 0; }

    static constexpr int kItems = 1300;
    CTestStore m_store;
};

}  // namespace

TEST_F(Paging, TasksByDueDateBothWays)
{
    ExpectOrderedAndUnique(Walk<ITask, DATE>(olFolderTasks, "[DueDate]", false, false, "", &Due), false, kItems);
    ExpectOrderedAndUnique(Walk<ITask, DATE>(olFolderTasks, "[DueDate]", true, false, "", &Due), true, kItems);
}

TEST_F(Paging, TasksBySubject)
{
    ExpectOrderedAndUnique(Walk<ITask, QString>(olFolderTasks, "[Subject]", false, false, "", &Subject), false, kItems);
}

TEST_F(Paging, TasksInTheStoresOwnOrderWithARestriction)
{
    // Days 15..28 of January hold 14 x 46 of the tasks.
    const auto v = Walk<ITask, int32_t>(olFolderTasks, nullptr, false, false, "[DueDate] >= 1/15/08", &Zero);
    ExpectOrderedAndUnique(v, false, 644);
}

TEST_F(Paging, AppointmentsByStartWithAndWithoutRecurrences)
{
    ExpectOrderedAndUnique(Walk<IAppointment, DATE>(olFolderCalendar, "[Start]", false, true, "", &Start), false, kItems);
    ExpectOrderedAndUnique(Walk<IAppointment, DATE>(olFolderCalendar, "[Start]", true, false, "", &Start), true, kItems);
    ExpectOrderedAndUnique(
        Walk<IAppointment, DATE>(olFolderCalendar, "[Start]", false, true, "[Start] <= 1/28/08 23:59 AND [End] >= 1/1/08",
                                 &Start),
        false, kItems);
}
