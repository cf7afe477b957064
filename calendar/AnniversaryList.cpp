#include "calendar/AnniversaryList.h"

SpecialDayList::~SpecialDayList()
{
    RemoveAll();
}

SpecialDay* SpecialDayList::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetSize())
        return nullptr;
    return m_days[static_cast<size_t>(nIndex)].get();
}

int SpecialDayList::Add(SpecialDay* pDay)
{
    m_days.emplace_back(pDay);
    return GetSize() - 1;
}

void SpecialDayList::RemoveAll()
{
    m_days.clear();
}
