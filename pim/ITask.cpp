#include "pim/ITask.h"

#include "pim/CItemWriter.h"
#include "pim/WallTime.h"

namespace {

// A task date: the day of the value; kNoDate and anything after it is "no date".
HRESULT ReadDate(DATE dt, int64_t* pnWall)
{
    int64_t nWall = 0;
    if (!DateToWall(dt, &nWall))
        return E_INVALIDARG;
    *pnWall = nWall >= kNoDateMinutes ? kNoDateMinutes : WallDayStart(nWall);
    return S_OK;
}

HRESULT GetDate(int64_t nWall, DATE* pdt)
{
    if (pdt == nullptr)
        return E_POINTER;
    *pdt = WallToDate(nWall);
    return S_OK;
}

}  // namespace

ITask::ITask(std::shared_ptr<CPimStore> pStore, CItemRecord&& record)
    : IPOutlookItem(std::move(pStore), std::move(record))
{
}

HRESULT ITask::get_StartDate(DATE* pdt) const
{
    return GetDate(m_pRecord->nStart, pdt);
}

HRESULT ITask::put_StartDate(DATE dt)
{
    return ReadDate(dt, &m_pRecord->nStart);
}

HRESULT ITask::get_DueDate(DATE* pdt) const
{
    return GetDate(m_pRecord->nEnd, pdt);
}

HRESULT ITask::put_DueDate(DATE dt)
{
    return ReadDate(dt, &m_pRecord->nEnd);
}

HRESULT ITask::get_DateCompleted(DATE* pdt) const
{
    EnsureSummary();
    return GetDate(m_pRecord->nDateCompleted, pdt);
}

HRESULT ITask::get_Importance(int32_t* pnImportance) const
{
    if (pnImportance == nullptr)
        return E_POINTER;
    *pnImportance = m_pRecord->nImportance;
    return S_OK;
}

HRESULT ITask::put_Importance(int32_t nImportance)
{
    if (nImportance < olImportanceLow || nImportance > olImportanceHigh)
        return E_INVALIDARG;
    m_pRecord->nImportance = nImportance;
    return S_OK;
}

HRESULT ITask::get_Complete(VARIANT_BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    *pb = m_pRecord->bComplete ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ITask::put_Complete(VARIANT_BOOL b)
{
    m_pRecord->bComplete = b != VARIANT_FALSE;
    return S_OK;
}

HRESULT ITask::SkipRecurrence()
{
    EnsureFull();
    const HRESULT hr = CItemWriter::SkipRecurrence(*m_pStore, m_pRecord.get());
    if (SUCCEEDED(hr)) {
        m_nStartLoaded = m_pRecord->nStart;
        m_bCompleteLoaded = m_pRecord->bComplete;
    }
    return hr;
}
