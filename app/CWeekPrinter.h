#pragma once
// The loaded week of a pane as text or JSON (see CWeekListing), read back from the seven
// day lists: what the window shows, in the form --print-week writes.
#include "calendar/DateTime.h"
#include "week/CWeekListing.h"
#include <QByteArray>
#include <QString>

class CWeekPane;

class CWeekPrinter {
public:
    CWeekPrinter(CWeekPane* pPane, const DateTime& today);

    QString ToText() const;
    QByteArray ToJson() const;

private:
    // The rows of the pane's lists.
    CWeekListing Listing() const;

    CWeekPane* m_pPane;
    DateTime m_today;
};
