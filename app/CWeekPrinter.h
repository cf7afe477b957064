#pragma once
// The loaded week of a pane as text or JSON, read back from the seven day lists.
//
// Text: for each day "YYYY-MM-DD <corner label>", then one line per row: two spaces,
// the label cell's text, a tab, the text cell's text, and, each after a tab and only when
// set: extra=<label long form>|<text long form>, color=#RRGGBB (not black), bold,
// strike, notes, alarm, recurring, high, low.
// JSON: {"weekStart": "YYYY-MM-DD", "days": [{"date", "label", "today", "rows": [{"label",
// "labelExtra", "text", "textExtra", "color", "bold", "strike", "icons", "kind", "oid"}]}]}.
#include "calendar/DateTime.h"
#include <QByteArray>
#include <QString>

class CWeekPane;

class CWeekPrinter {
public:
    CWeekPrinter(CWeekPane* pPane, const DateTime& today);

    QString ToText() const;
    QByteArray ToJson() const;

    // The corner label of a day as the pane set it.
    QString DayLabel(int nDay) const;

private:
    CWeekPane* m_pPane;
    DateTime m_today;
};
