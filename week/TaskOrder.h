#pragma once
// The order in which a week load lists its tasks: not complete before complete, then
// higher importance, then earlier due date; equal keys keep the store's order.
#include "platform/WinTypes.h"
#include <cstdint>
#include <vector>

struct TaskOrderRecord {
    int32_t nOid = 0;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    int32_t nImportance = 1;  // 0 low, 1 normal, 2 high
    DATE dtDue = 0.0;         // 949998.0 when not set, so undated tasks come last
    int32_t nIndex = -1;      // the caller's own reference to the task; not a key
};

// Puts records given in store order into task order. The order is the one that inserting
// each record before the first record it must precede (else at the end) gives; a stable
// sort by the same keys gives it in O(n log n).
void SortTaskOrder(std::vector<TaskOrderRecord>* pRecords);
