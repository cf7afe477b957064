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

void SortTaskOrder(std::vector<TaskOrderRecord>* pRecords)
{
    // Equal keys keep their arrival order, as they do when inserted one by one.
    std::stable_sort(pRecords->begin(), pRecords->end(), Precedes);
}
