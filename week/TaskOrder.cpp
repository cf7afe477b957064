#include "week/TaskOrder.h"
#include <algorithm>

namespace {

bool Precedes(const TaskOrderRecord& a, const TaskOrderRecord& r)
{
    const bool bDoneA = a.bComplete != 0;
    const bool bDoneR = r.bComplete != 0;
    if (!bDoneA && bDoneR)
        return true;
    if (bDoneA != bDoneR)
        return false;
    if (a.nImportance != r.nImportance)
        return a.nImportance > r.nImportance;
    return a.dtDue < r.dtDue;
}

}  // namespace

void InsertTaskOrder(std::list<TaskOrderRecord>* pList, const TaskOrderRecord& record)
{
    auto it = pList->begin();
    while (it != pList->end() && !Precedes(record, *it))
        ++it;
    pList->insert(it, record);
}

void SortTaskOrder(std::vector<TaskOrderRecord>* pRecords)
{
    // A record goes before the first one it precedes, so the list stays sorted and equal
    // keys keep their arrival order: exactly a stable sort.
    std::stable_sort(pRecords->begin(), pRecords->end(), Precedes);
}
