#pragma once
// Stand-in for GetLocalTime. Tests may fix the clock; QUILLDAY_NOW
// ("YYYY-MM-DDTHH:MM:SS", local wall time) fixes it for a whole process.
#include "platform/WinTypes.h"
#include <optional>

void GetLocalTime(SYSTEMTIME* pSt);
void SetFixedLocalTime(std::optional<SYSTEMTIME> st);
