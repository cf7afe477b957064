#pragma once
// The restriction texts of the week load. Dates are short-date texts of the system
// format: S the Monday, E the Sunday, N the not-set date (1 January 4501).
#include "platform/WinTypes.h"
#include <QString>

// Appointments that overlap the week: start on or before Sunday, end on or after Monday.
QString AppointmentWeekQuery(const QString& strStart, const QString& strEnd);
// Tasks of the week; without bShowComplete only tasks that are not complete.
//
// An open task gets rows on today (floating, days left, days over) whenever today lies
// in the week, so then every open task without a start date or started by the week's
// end is asked for. With today outside the week an open task can only show on its start
// or due day, and the query asks only for those in the week: the same rows from a
// fraction of the tasks of a large store.
QString TaskWeekQuery(BOOL bShowComplete, const QString& strStart, const QString& strEnd,
                      const QString& strNoDate, bool bTodayInWeek = true);
// The part of the task query that picks open tasks.
QString OpenTaskClause(bool bTodayInWeek, const QString& S, const QString& E, const QString& N);
