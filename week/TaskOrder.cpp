#include "week/TaskOrder.h"

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
