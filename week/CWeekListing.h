#pragma once
// A loaded week as plain rows, and as the text or JSON that --print-week writes.
//
// Text: for each day "YYYY-MM-DD <corner label>", then one line per row: two spaces,
// the label cell's text, a tab, the text cell's text, and, each after a tab and only when
// set: extra=<label long form>|<text long form>, color=#RRGGBB (not black), bold,
// strike, notes, alarm, recurring, high, low.
// JSON: {"weekStart": "YYYY-MM-DD", "days": [{"date", "label", "today", "rows": [{"label",
// "labelExtra", "text", "textExtra", "color", "bold", "strike", "icons", "kind", "oid"}]}]}.
#include "calendar/DateTime.h"
#include "week/IWeekRows.h"
#include "week/WeekRange.h"
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <deque>
#include <functional>

class IWeekHost;

class CWeekListing : public IWeekRows {
public:
    // The days of the week with their corner labels as the host names the weekdays.
    CWeekListing(const WeekRange& week, const DateTime& today, const IWeekHost& host);

    void AddRow(AgendaRow row) override;
    int GetRowCount(int nDayIndex) const override;
    bool HasOccurrence(int nDayIndex, int32_t nOid, DATE dtStart) const override;

    // Loads the week from the host's store as the pane loads it: false, with the lists as
    // far as they were read and the reason in *pstrFailure, when the store could not be read.
    bool Load(IWeekHost* pHost, QString* pstrFailure);

    QString ToText() const;
    // ToText's lines written as UTF-8 as they are made; false when writing failed.
    bool WriteText(std::FILE* pFile) const;
    QByteArray ToJson() const;
    // ToJson written; false when writing failed.
    bool WriteJson(std::FILE* pFile) const;

private:
    void ForEachLine(const std::function<void(const QString&)>& fnLine) const;

    WeekRange m_week;
    DateTime m_today;
    QString m_strLabels[7];
    std::deque<AgendaRow> m_rows[7];  // appended to and read in order: no moves as they grow
};
