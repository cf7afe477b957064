#include "pim/CRestriction.h"

#include "pim/CShortDateReader.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

enum class Kind { Date, Bool, Number };
enum class Prop { Start, End, StartDate, DueDate, DateCompleted, AllDayEvent, Complete,
                  IsRecurring, ReminderSet, Importance };
enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

struct PropInfo {
    const char* pszName;
    Prop prop;
    Kind kind;
    int nItemType;  // 0: both
    const char* pszSql;
};

constexpr PropInfo kProps[] = {
    {"Start", Prop::Start, Kind::Date, olAppointmentItem, "t_start"},
    {"End", Prop::End, Kind::Date, olAppointmentItem, "t_end"},
    {"AllDayEvent", Prop::AllDayEvent, Kind::Bool, olAppointmentItem, "all_day"},
    {"StartDate", Prop::StartDate, Kind::Date, olTaskItem, "t_start"},
    {"DueDate", Prop::DueDate, Kind::Date, olTaskItem, "t_end"},
    {"DateCompleted", Prop::DateCompleted, Kind::Date, olTaskItem, "t_completed"},
    {"Complete", Prop::Complete, Kind::Bool, olTaskItem, "complete"},
    {"Importance", Prop::Importance, Kind::Number, olTaskItem, "importance"},
    {"IsRecurring", Prop::IsRecurring, Kind::Bool, 0, "(rec_type >= 0 OR series IS NOT NULL)"},
    {"ReminderSet", Prop::ReminderSet, Kind::Bool, 0, "reminder"},
};

constexpr const char* kOpSql[] = {"=", "<>", "<", ">", "<=", ">="};
constexpr int64_t kNoLimitHigh = std::numeric_limits<int64_t>::max();
constexpr int64_t kNoLimitLow = std::numeric_limits<int64_t>::min();

int64_t ValueOf(const CItemRecord& r, Prop prop)
{
    switch (prop) {
    case Prop::Start:
    case Prop::StartDate: return r.nStart;
    case Prop::End:
    case Prop::DueDate: return r.nEnd;
    case Prop::DateCompleted: return r.nDateCompleted;
    case Prop::AllDayEvent: return r.bAllDay;
    case Prop::Complete: return r.bComplete;
    case Prop::IsRecurring: return r.rule.IsRecurring() || r.bOccurrence;
    case Prop::ReminderSet: return r.bReminderSet;
    case Prop::Importance: return r.nImportance;
    }
    return 0;
}

bool Compare(int64_t a, Op op, int64_t b)
{
    switch (op) {
    case Op::Eq: return a == b;
    case Op::Ne: return a != b;
    case Op::Lt: return a < b;
    case Op::Gt: return a > b;
    case Op::Le: return a <= b;
    case Op::Ge: return a >= b;
    }
    return false;
}

}  // namespace

struct CRestriction::Node {
    enum class Type { Compare, And, Or } type = Type::Compare;
    const PropInfo* pProp = nullptr;
    Op op = Op::Eq;
    int64_t nValue = 0;
    bool bTwoDigitYear = false;  // nValue's date was written with a two-digit year
    std::unique_ptr<Node> pLeft, pRight;
};

namespace {

// Recursive-descent parser: expr := term {OR term}; term := factor {AND factor};
// factor := '(' expr ')' | '[' name ']' op value.
class CParser {
public:
    CParser(const QString& strText, const CShortDateReader& reader, int nItemType)
        : m_str(strText), m_reader(reader), m_nItemType(nItemType) {}

    std::unique_ptr<CRestriction::Node> ParseAll()
    {
        auto p = Expr(0);
        SkipSpace();
        return (p && m_nPos == m_str.size()) ? std::move(p) : nullptr;
    }

private:
    using NodePtr = std::unique_ptr<CRestriction::Node>;
    static constexpr int kMaxDepth = 64;

    void SkipSpace()
    {
        while (m_nPos < m_str.size() && m_str[m_nPos].isSpace())
            ++m_nPos;
    }
    bool Keyword(const char* psz)
    {
        SkipSpace();
        const QString kw = QString::fromLatin1(psz);
        if (m_str.mid(m_nPos, kw.size()).compare(kw, Qt::CaseInsensitive) != 0)
            return false;
        const int nEnd = m_nPos + kw.size();
        if (nEnd < m_str.size() && (m_str[nEnd].isLetterOrNumber() || m_str[nEnd] == u'_'))
            return false;
        m_nPos = nEnd;
        return true;
    }
    bool Char(QChar c)
    {
        SkipSpace();
        if (m_nPos < m_str.size() && m_str[m_nPos] == c) {
            ++m_nPos;
            return true;
        }
        return false;
    }
    NodePtr Join(CRestriction::Node::Type type, NodePtr a, NodePtr b)
    {
        auto p = std::make_unique<CRestriction::Node>();
        p->type = type;
        p->pLeft = std::move(a);
        p->pRight = std::move(b);
        return p;
    }
    NodePtr Expr(int nDepth)
    {
        NodePtr p = Term(nDepth);
        while (p && Keyword("OR")) {
            NodePtr q = Term(nDepth);
            p = q ? Join(CRestriction::Node::Type::Or, std::move(p), std::move(q)) : nullptr;
        }
        return p;
    }
    NodePtr Term(int nDepth)
    {
        NodePtr p = Factor(nDepth);
        while (p && Keyword("AND")) {
            NodePtr q = Factor(nDepth);
            p = q ? Join(CRestriction::Node::Type::And, std::move(p), std::move(q)) : nullptr;
        }
        return p;
    }
    NodePtr Factor(int nDepth)
    {
        if (nDepth > kMaxDepth)
            return nullptr;
        if (Char(u'(')) {
            NodePtr p = Expr(nDepth + 1);
            return (p && Char(u')')) ? std::move(p) : nullptr;
        }
        return Comparison();
    }
    NodePtr Comparison();
    bool ReadOp(Op* pOp);
    bool ReadValue(Kind kind, int64_t* pnValue, bool* pbTwoDigitYear);
    bool ReadDate(int64_t* pnValue, bool* pbTwoDigitYear);
    bool ReadTime(int* pnMinutes);

    const QString& m_str;
    const CShortDateReader& m_reader;
    int m_nItemType;
    int m_nPos = 0;
};

CParser::NodePtr CParser::Comparison()
{
    if (!Char(u'['))
        return nullptr;
    const int nClose = m_str.indexOf(u']', m_nPos);
    if (nClose < 0)
        return nullptr;
    const QString strName = m_str.mid(m_nPos, nClose - m_nPos).trimmed();
    m_nPos = nClose + 1;
    const PropInfo* pInfo = nullptr;
    for (const PropInfo& info : kProps) {
        if (strName.compare(QLatin1String(info.pszName), Qt::CaseInsensitive) == 0
            && (info.nItemType == 0 || info.nItemType == m_nItemType))
            pInfo = &info;
    }
    auto p = std::make_unique<CRestriction::Node>();
    if (pInfo == nullptr || !ReadOp(&p->op) || !ReadValue(pInfo->kind, &p->nValue, &p->bTwoDigitYear))
        return nullptr;
    p->pProp = pInfo;
    return p;
}

bool CParser::ReadOp(Op* pOp)
{
    SkipSpace();
    static const struct { const char* psz; Op op; } kOps[] = {
        {"<>", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge}, {"=", Op::Eq}, {"<", Op::Lt}, {">", Op::Gt}};
    for (const auto& o : kOps) {
        const QString s = QString::fromLatin1(o.psz);
        if (m_str.mid(m_nPos, s.size()) == s) {
            m_nPos += s.size();
            *pOp = o.op;
            return true;
        }
    }
    return false;
}

bool CParser::ReadValue(Kind kind, int64_t* pnValue, bool* pbTwoDigitYear)
{
    SkipSpace();
    if (kind == Kind::Bool) {
        if (Keyword("TRUE"))
            return *pnValue = 1, true;
        if (Keyword("FALSE"))
            return *pnValue = 0, true;
        return false;
    }
    if (kind == Kind::Number) {
        int nStart = m_nPos;
        if (m_nPos < m_str.size() && m_str[m_nPos] == u'-')
            ++m_nPos;
        int nDigits = 0;
        while (m_nPos < m_str.size() && m_str[m_nPos].isDigit() && nDigits < 9) {
            ++m_nPos;
            ++nDigits;
        }
        if (nDigits == 0)
            return false;
        *pnValue = m_str.mid(nStart, m_nPos - nStart).toLongLong();
        return true;
    }
    const QChar quote = m_nPos < m_str.size() ? m_str[m_nPos] : QChar();
    const bool bQuoted = quote == u'"' || quote == u'\'';
    if (bQuoted)
        ++m_nPos;
    if (!ReadDate(pnValue, pbTwoDigitYear))
        return false;
    return !bQuoted || Char(quote);
}

bool CParser::ReadDate(int64_t* pnValue, bool* pbTwoDigitYear)
{
    int nYear = 0, nMonth = 0, nDay = 0;
    if (!m_reader.Read(m_str, &m_nPos, &nYear, &nMonth, &nDay, pbTwoDigitYear))
        return false;
    int nMinutes = 0;
    const int nSave = m_nPos;
    if (!ReadTime(&nMinutes))
        m_nPos = nSave;
    *pnValue = WallFromFields(nYear, nMonth, nDay) + nMinutes;
    return true;
}

// An optional "h:mm" or "hh:mm" after the date.
bool CParser::ReadTime(int* pnMinutes)
{
    SkipSpace();
    int nHour = 0, nDigits = 0;
    while (m_nPos < m_str.size() && m_str[m_nPos].isDigit() && nDigits < 2) {
        nHour = nHour * 10 + m_str[m_nPos++].digitValue();
        ++nDigits;
    }
    if (nDigits == 0 || m_nPos >= m_str.size() || m_str[m_nPos] != u':')
        return false;
    ++m_nPos;
    if (m_nPos + 2 > m_str.size())
        return false;
    if (!m_str[m_nPos].isDigit() || !m_str[m_nPos + 1].isDigit())
        return false;
    const int nMinute = m_str[m_nPos].digitValue() * 10 + m_str[m_nPos + 1].digitValue();
    m_nPos += 2;
    if (nHour > 23 || nMinute > 59 || (m_nPos < m_str.size() && m_str[m_nPos].isDigit()))
        return false;
    *pnMinutes = nHour * 60 + nMinute;
    return true;
}

void CollectTwoDigit(CRestriction::Node& n, QVector<CRestriction::Node*>* pOut)
{
    if (n.type != CRestriction::Node::Type::Compare) {
        CollectTwoDigit(*n.pLeft, pOut);
        CollectTwoDigit(*n.pRight, pOut);
    } else if (n.bTwoDigitYear) {
        pOut->push_back(&n);
    }
}

// A date moved by whole centuries (same month, day and time).
int64_t ShiftCenturies(int64_t nWall, int nCenturies)
{
    const WallFields f = FieldsOfWall(nWall);
    return WallFromFields(f.nYear + 100 * nCenturies, f.nMonth, f.nDay, f.nHour, f.nMinute);
}

// Days of [nFirst, nLast] inside 1970-01-01 .. 2069-12-31.
int64_t DaysInsideWindow(int64_t nFirst, int64_t nLast)
{
    const int64_t nLo = std::max(nFirst, WallFromFields(1970, 1, 1));
    const int64_t nHi = std::min(nLast, WallFromFields(2069, 12, 31, 23, 59));
    return nHi < nLo ? 0 : (nHi - nLo) / kMinutesPerDay + 1;
}

// The value of a two-digit-year date in a reading: 0 keeps the window 1970..2069, 1900
// and 2000 put every such date in that century.
int64_t ReadAs(const CRestriction::Node& n, int nCentury)
{
    return nCentury == 0 ? n.nValue
                         : ShiftCenturies(n.nValue, (nCentury - FieldsOfWall(n.nValue).nYear / 100 * 100) / 100);
}

// The dates of one restriction lie close together (a week, for the week load), so its
// two-digit years are read as one group: of the three readings (each alone in
// 1970..2069, all in the 1900s, all in the 2000s) the one with the narrowest span wins,
// then the one with more of its days inside 1970..2069. So 12/29/69 .. 1/4/70 is the first
// week of 1970, while 1/1/75 .. 1/1/25 stays 1975 .. 2025.
void ResolveTwoDigitYears(CRestriction::Node& root)
{
    QVector<CRestriction::Node*> nodes;
    CollectTwoDigit(root, &nodes);
    if (nodes.size() < 2)
        return;
    int nBest = 0;
    int64_t nBestSpan = 0, nBestInside = 0;
    for (int nCentury : {0, 1900, 2000}) {
        int64_t nLo = std::numeric_limits<int64_t>::max(), nHi = std::numeric_limits<int64_t>::min();
        for (const CRestriction::Node* p : nodes) {
            nLo = std::min(nLo, ReadAs(*p, nCentury));
            nHi = std::max(nHi, ReadAs(*p, nCentury));
        }
        // Spans are compared in whole years, so that leap days decide nothing.
        const int64_t nSpan = (nHi - nLo) / (366 * kMinutesPerDay);
        const int64_t nInside = DaysInsideWindow(nLo, nHi);
        if (nCentury == 0 || nSpan < nBestSpan || (nSpan == nBestSpan && nInside > nBestInside)) {
            nBest = nCentury;
            nBestSpan = nSpan;
            nBestInside = nInside;
        }
    }
    for (CRestriction::Node* p : nodes)
        p->nValue = ReadAs(*p, nBest);
}

bool Evaluate(const CRestriction::Node& n, const CItemRecord& r)
{
    switch (n.type) {
    case CRestriction::Node::Type::And: return Evaluate(*n.pLeft, r) && Evaluate(*n.pRight, r);
    case CRestriction::Node::Type::Or: return Evaluate(*n.pLeft, r) || Evaluate(*n.pRight, r);
    case CRestriction::Node::Type::Compare: break;
    }
    return Compare(ValueOf(r, n.pProp->prop), n.op, n.nValue);
}

void Sql(const CRestriction::Node& n, QString* pSql, QVector<int64_t>* pParams)
{
    if (n.type != CRestriction::Node::Type::Compare) {
        *pSql += u'(';
        Sql(*n.pLeft, pSql, pParams);
        *pSql += n.type == CRestriction::Node::Type::And ? u" AND " : u" OR ";
        Sql(*n.pRight, pSql, pParams);
        *pSql += u')';
        return;
    }
    *pSql += QLatin1String(n.pProp->pszSql) + QLatin1Char(' ') + QLatin1String(kOpSql[int(n.op)])
           + QLatin1String(" ?");
    pParams->push_back(n.nValue);
}

struct Span {
    int64_t nMaxStart = kNoLimitHigh;
    int64_t nMinEnd = kNoLimitLow;
};

// A comparison bounds the start from above ([Start] <= v, [End] <= v since end >= start)
// or the end from below ([End] >= v, [Start] >= v).
Span BoundsOf(const CRestriction::Node& n)
{
    if (n.type != CRestriction::Node::Type::Compare) {
        const Span a = BoundsOf(*n.pLeft), b = BoundsOf(*n.pRight);
        if (n.type == CRestriction::Node::Type::And)
            return {std::min(a.nMaxStart, b.nMaxStart), std::max(a.nMinEnd, b.nMinEnd)};
        return {std::max(a.nMaxStart, b.nMaxStart), std::min(a.nMinEnd, b.nMinEnd)};
    }
    Span s;
    if (n.pProp->prop != Prop::Start && n.pProp->prop != Prop::End)
        return s;
    const int64_t v = n.nValue;
    if (n.op == Op::Le || n.op == Op::Eq)
        s.nMaxStart = v;
    else if (n.op == Op::Lt)
        s.nMaxStart = v - 1;
    if (n.op == Op::Ge || n.op == Op::Eq)
        s.nMinEnd = v;
    else if (n.op == Op::Gt)
        s.nMinEnd = v + 1;
    return s;
}

// The values for which "value op nValue" holds.
CValueRanges RangesOf(Op op, int64_t nValue)
{
    const CValueRanges below = nValue == kNoLimitLow ? CValueRanges() : CValueRanges::Between(kNoLimitLow, nValue - 1);
    const CValueRanges above = nValue == kNoLimitHigh ? CValueRanges() : CValueRanges::Between(nValue + 1, kNoLimitHigh);
    switch (op) {
    case Op::Eq: return CValueRanges::Between(nValue, nValue);
    case Op::Ne: return below.Union(above);
    case Op::Lt: return below;
    case Op::Gt: return above;
    case Op::Le: return CValueRanges::Between(kNoLimitLow, nValue);
    case Op::Ge: return CValueRanges::Between(nValue, kNoLimitHigh);
    }
    return CValueRanges();
}

bool IsOnColumn(const CRestriction::Node& n, const char* pszColumn)
{
    return std::strcmp(n.pProp->pszSql, pszColumn) == 0;
}

// Comparisons of other columns count as satisfiable.
CValueRanges ColumnRanges(const CRestriction::Node& n, const char* pszColumn)
{
    switch (n.type) {
    case CRestriction::Node::Type::And:
        return ColumnRanges(*n.pLeft, pszColumn).Intersection(ColumnRanges(*n.pRight, pszColumn));
    case CRestriction::Node::Type::Or:
        return ColumnRanges(*n.pLeft, pszColumn).Union(ColumnRanges(*n.pRight, pszColumn));
    case CRestriction::Node::Type::Compare: break;
    }
    return IsOnColumn(n, pszColumn) ? RangesOf(n.op, n.nValue) : CValueRanges::All();
}

std::unique_ptr<CRestriction::Node> CopyComparison(const CRestriction::Node& n)
{
    auto p = std::make_unique<CRestriction::Node>();
    p->pProp = n.pProp;
    p->op = n.op;
    p->nValue = n.nValue;
    p->bTwoDigitYear = n.bTwoDigitYear;
    return p;
}

// n for rows whose column value lies in `range`: null when that decides the whole of n
// (its result then in *pbResult), else n without the comparisons the range decides.
std::unique_ptr<CRestriction::Node> Narrow(const CRestriction::Node& n, const char* pszColumn,
                                           const CValueRanges& range, bool* pbResult)
{
    if (n.type == CRestriction::Node::Type::Compare) {
        if (!IsOnColumn(n, pszColumn))
            return CopyComparison(n);
        const CValueRanges holds = RangesOf(n.op, n.nValue).Intersection(range);
        if (!holds.IsEmpty() && holds != range)
            return CopyComparison(n);
        *pbResult = !holds.IsEmpty();
        return nullptr;
    }
    const bool bAnd = n.type == CRestriction::Node::Type::And;
    bool bLeft = false, bRight = false;
    auto pLeft = Narrow(*n.pLeft, pszColumn, range, &bLeft);
    auto pRight = Narrow(*n.pRight, pszColumn, range, &bRight);
    // A decided side settles the whole (false under AND, true under OR) or drops out.
    if ((!pLeft && bLeft != bAnd) || (!pRight && bRight != bAnd)) {
        *pbResult = !bAnd;
        return nullptr;
    }
    if (!pLeft || !pRight) {
        *pbResult = bAnd;  // when both dropped out
        return pLeft ? std::move(pLeft) : std::move(pRight);
    }
    auto p = std::make_unique<CRestriction::Node>();
    p->type = n.type;
    p->pLeft = std::move(pLeft);
    p->pRight = std::move(pRight);
    return p;
}

}  // namespace

CRestriction::CRestriction() = default;
CRestriction::~CRestriction() = default;
CRestriction::CRestriction(CRestriction&&) noexcept = default;
CRestriction& CRestriction::operator=(CRestriction&&) noexcept = default;

HRESULT CRestriction::Parse(const QString& strText, const QString& strDatePattern, int nItemType)
{
    m_pRoot.reset();
    m_bNothing = false;
    if (strText.trimmed().isEmpty())
        return S_OK;
    CShortDateReader reader;
    if (!reader.SetPattern(strDatePattern))
        return E_INVALIDARG;
    m_pRoot = CParser(strText, reader, nItemType).ParseAll();
    if (!m_pRoot)
        return E_INVALIDARG;
    ResolveTwoDigitYears(*m_pRoot);
    return S_OK;
}

bool CRestriction::Matches(const CItemRecord& record) const
{
    return !m_bNothing && (!m_pRoot || Evaluate(*m_pRoot, record));
}

QString CRestriction::ToSql(QVector<int64_t>* pParams) const
{
    if (m_bNothing)
        return QStringLiteral("0");
    if (!m_pRoot)
        return QStringLiteral("1");
    QString strSql;
    Sql(*m_pRoot, &strSql, pParams);
    return strSql;
}

void CRestriction::Bounds(int64_t* pnMaxStart, int64_t* pnMinEnd) const
{
    const Span s = m_pRoot ? BoundsOf(*m_pRoot) : Span();
    *pnMaxStart = s.nMaxStart;
    *pnMinEnd = s.nMinEnd;
}

CValueRanges CRestriction::Ranges(const char* pszColumn) const
{
    if (m_bNothing)
        return CValueRanges();
    return m_pRoot ? ColumnRanges(*m_pRoot, pszColumn) : CValueRanges::All();
}

CRestriction CRestriction::Narrowed(const char* pszColumn, int64_t nLo, int64_t nHi) const
{
    CRestriction r;
    bool bResult = true;
    const CValueRanges range = CValueRanges::Between(nLo, nHi);
    if (m_bNothing || range.IsEmpty())
        r.m_bNothing = true;
    else if (m_pRoot)
        r.m_pRoot = Narrow(*m_pRoot, pszColumn, range, &bResult);
    r.m_bNothing = r.m_bNothing || (!r.m_pRoot && !bResult);
    return r;
}
