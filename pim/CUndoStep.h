#pragma once
// What one action on the store (a tick, a delete, an editor's save, a new item) changed,
// kept so that the action can be taken back: the rows of the item it acted on (a series
// with all its exception rows), with their notes and server links, as they were before
// and as the action left them, and the rows the action made.
#include <QString>
#include <QVariant>
#include <QVector>
#include <cstdint>

class CPimStore;

class CUndoStep {
public:
    // Before the action on the item nOid (a series' OID for any of its occurrences), or
    // nOid -1 for an action that only makes new items. false when the store cannot be read.
    bool Begin(CPimStore& store, int32_t nOid);
    // After the action: false when it changed nothing, so there is nothing to take back.
    bool Finish(CPimStore& store);
    enum class EResult { Done, ChangedSince, Failed };
    // Puts the rows back as they were before the action, in one transaction. Refused
    // (ChangedSince) when they are no longer as the action left them; on failure
    // *pstrReason says why.
    EResult Undo(CPimStore& store, QString* pstrReason);

private:
    using Row = QVector<QVariant>;
    struct Rows {
        QVector<Row> items;
        QVector<Row> notes;
        QVector<Row> links;
        bool operator==(const Rows& other) const = default;
    };
    bool Read(CPimStore& store, Rows* pRows) const;
    // The items' rows with their time stamps (column "stamp" of SELECT *) left out.
    static constexpr int kStampColumn = 6;
    static Rows WithoutStamps(Rows rows);
    static bool LastOid(CPimStore& store, int64_t* pnOid);
    bool PutBack(CPimStore& store);

    int32_t m_nOid = -1;
    int64_t m_nLastBefore = 0;  // the highest row id before the action
    int64_t m_nLastAfter = 0;   // and after it: the rows between are the ones it made
    Rows m_before;
    Rows m_after;
};
