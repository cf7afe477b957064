#pragma once
// One Find walk over a folder: the matching rows of the items table, read in batches in
// sort order (so that no SQLite read stays open between calls), merged with the
// occurrences of series when recurrences are included.
#include "pim/CItemRecord.h"
#include "pim/CRestriction.h"
#include "pim/CSeriesExpander.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QVector>
#include <memory>

class CPimStore;
class CSqlStatement;

class CItemQuery {
public:
    struct Options {
        int nItemType = 0;
        QString strSortColumn;  // a column of the items table, empty: by OID
        bool bTextSort = false;
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
    QByteArray BuildSql() const;

    std::shared_ptr<CPimStore> m_pStore;
    CRestriction m_restriction;
    Options m_options;
    int64_t m_nMaxStart = 0;
    int64_t m_nMinEnd = 0;
    bool m_bUseSpan = false;
    QVector<int64_t> m_params;
    std::unique_ptr<CSqlStatement> m_pStatement;
    QVector<CItemRecord> m_batch;
    int m_nBatchPos = 0;
    bool m_bRowsDone = false;
    bool m_bHaveKey = false;
    int64_t m_nKey = 0;       // sort value and OID of the last row read (keyset paging)
    QString m_strKey;
    int64_t m_nKeyOid = 0;
    bool m_bFailed = false;
    CSeriesExpander m_series;
};
