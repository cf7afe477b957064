#pragma once
// One Find walk over a folder: the matching rows of the items table, read in batches in
// sort order (keyset paging, so that no SQLite read stays open between calls), merged
// with the occurrences of series when recurrences are included.
#include "pim/CItemRecord.h"
#include "pim/CRestriction.h"
#include "pim/CSeriesExpander.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <deque>
#include <memory>

class CPimStore;
class CSqlStatement;

class CItemQuery {
public:
    struct Options {
        int nItemType = 0;
        QString strSortColumn;  // a column of the items table; empty: the store's own order
        bool bDescending = false;
        bool bIncludeRecurrences = false;
    };
    CItemQuery(std::shared_ptr<CPimStore> pStore, CRestriction restriction, const Options& options);
    ~CItemQuery();

    HRESULT Start();
    // The next record, false at the end (or on a failed read: *pHr tells).
    bool Next(CItemRecord* pRecord, HRESULT* pHr);

private:
    bool FillBatch();
    QByteArray BuildSql(bool bAfterKey) const;
    QString SpanSql(int nFirstParam) const;
    void RememberKey(const CItemRecord& last);
    bool ReadLean();
    bool ReadLeanRange(const CRestriction& part, bool bComplete, const CValueRanges::Range& range);
    bool NextLean(CItemRecord* pRecord);
    struct LeanRow {
        int64_t nStart, nEnd, nDateCompleted;
        QString strSubject;
        int32_t nOid;
        int16_t nImportance;
        int16_t nRecurrenceType;
        bool bComplete;
        bool bReminderSet;
        bool bHasNotes;
    };

    std::shared_ptr<CPimStore> m_pStore;
    CRestriction m_restriction;
    Options m_options;
    QStringList m_sortColumns;  // the order of the rows, before the OID
    bool m_bLean = false;       // tasks without a sort: read from their covering index
                                // only, all at once in Start
    std::deque<LeanRow> m_lean;  // all of them at once: no moves as it grows
    size_t m_nLeanPos = 0;
    int64_t m_nMaxStart = 0;
    int64_t m_nMinEnd = 0;
    bool m_bUseSpan = false;
    QVector<int64_t> m_params;
    std::unique_ptr<CSqlStatement> m_pFirst;  // the first batch
    std::unique_ptr<CSqlStatement> m_pAfter;  // the batches after a key
    QVector<CItemRecord> m_batch;
    int m_nBatchPos = 0;
    bool m_bRowsDone = false;
    bool m_bHaveKey = false;
    QVector<int64_t> m_keyValues;  // sort values and row id of the last row read
    QString m_strKeyText;
    bool m_bFailed = false;
    CSeriesExpander m_series;
};
