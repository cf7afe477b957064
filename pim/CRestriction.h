#pragma once
// A parsed restriction text of IPOutlookItemCollection::Find (the language is described
// there): evaluated on an item's values, turned into an SQL condition over the items
// table, and read for the span of starts and ends it allows.
#include "pim/CItemRecord.h"
#include "pim/CValueRanges.h"
#include "platform/WinTypes.h"
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>

class CShortDateReader;

class CRestriction {
public:
    CRestriction();
    ~CRestriction();
    CRestriction(CRestriction&&) noexcept;
    CRestriction& operator=(CRestriction&&) noexcept;

    // nItemType: olAppointmentItem or olTaskItem, which decides the known properties.
    // An empty (or blank) text matches every item. E_INVALIDARG for a malformed text, an
    // unknown property or a value of the wrong kind; *this is then empty.
    HRESULT Parse(const QString& strText, const QString& strDatePattern, int nItemType);

    bool Matches(const CItemRecord& record) const;
    // An SQL condition over the items table's columns, with its parameters in order.
    QString ToSql(QVector<int64_t>* pParams) const;
    // For appointments: every matching item has start <= *pnMaxStart and end >=
    // *pnMinEnd (INT64_MAX and INT64_MIN where the text sets no bound).
    void Bounds(int64_t* pnMaxStart, int64_t* pnMinEnd) const;

    // pszColumn names an items-table column as ToSql does ("t_start", "complete"). The
    // values of that column a matching item can have (comparisons of other columns are
    // taken as satisfiable, so some of them may match nothing).
    CValueRanges Ranges(const char* pszColumn) const;
    // The restriction for items whose value of the column lies in [nLo, nHi]: the
    // comparisons of that column that the range decides are replaced by their result.
    CRestriction Narrowed(const char* pszColumn, int64_t nLo, int64_t nHi) const;
    // No item matches (a narrowed restriction that the range made false).
    bool MatchesNothing() const { return m_bNothing; }

    struct Node;

private:
    std::unique_ptr<Node> m_pRoot;  // null: every item matches (unless m_bNothing)
    bool m_bNothing = false;
};
