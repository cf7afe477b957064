#pragma once
// The special days of the file, in file order. The list owns its entries.
#include "calendar/AnniversaryEntry.h"
#include <memory>
#include <vector>

class SpecialDayList {
public:
    SpecialDayList() = default;
    ~SpecialDayList();
    SpecialDayList(const SpecialDayList&) = delete;
    SpecialDayList& operator=(const SpecialDayList&) = delete;

    int GetSize() const { return static_cast<int>(m_days.size()); }
    // The entry at a 0-based index; null outside 0..GetSize() - 1.
    SpecialDay* GetAt(int nIndex) const;
    // Appends and takes ownership; returns the new entry's index.
    int Add(SpecialDay* pDay);
    void RemoveAll();

private:
    std::vector<std::unique_ptr<SpecialDay>> m_days;
};
