#pragma once
// The restriction texts of the week load. Dates are short-date texts of the system
// format: S the Monday, E the Sunday, N the not-set date (1 January 4501).
#include "platform/WinTypes.h"
#include <QString>

// Appointments that overlap the week: start on or before Sunday, end on or after Monday.
QString AppointmentWeekQuery(const QString& strStart, const QString& strEnd);
// Tasks of the week; without bShowComplete only tasks that are not complete.
QString TaskWeekQuery(BOOL bShowComplete, const QString& strStart, const QString& strEnd,
                      const QString& strNoDate);
