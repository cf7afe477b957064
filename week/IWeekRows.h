#pragma once
// Where a week load puts its rows: the pane's seven day lists in the window, a plain list
// of rows on the command line.
#include "platform/WinTypes.h"
#include "week/AgendaEntry.h"
#include <cstdint>

class IWeekRows {
public:
    virtual ~IWeekRows() = default;

    // Appends the row to the list of its day (row.nDayIndex, 0 = Monday).
    virtual void AddRow(AgendaRow row) = 0;
    virtual int GetRowCount(int nDayIndex) const = 0;
    // Whether the day already has a row of the occurrence (OID and start, compared
    // exactly); rows without an item never match.
    virtual bool HasOccurrence(int nDayIndex, int32_t nOid, DATE dtStart) const = 0;
};
