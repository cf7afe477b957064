#include "pim/IAppointment.h"

#include "pim/WallTime.h"

namespace {

HRESULT ReadTime(DATE dt, int64_t* pnWall)
{
    int64_t nWall = 0;
    if (!DateToWall(dt, &nWall) || nWall >= kNoDateMinutes)
        return E_INVALIDARG;
    *pnWall = nWall;
    return S_OK;
}

}  // namespace

IAppointment::IAppointment(std::shared_ptr<CPimStore> pStore, CItemRecord&& record)
    : IPOutlookItem(std::move(pStore), std::move(record))
{
}

HRESULT IAppointment::get_Location(QString* pstr) const
{
    if (pstr == nullptr)
        return E_POINTER;
    EnsureFull();
    *pstr = m_pRecord->strLocation;
    return S_OK;
}

HRESULT IAppointment::put_Location(const QString& str)
{
    m_pRecord->strLocation = str;
    return S_OK;
}

HRESULT IAppointment::get_Start(DATE* pdt) const
{
    if (pdt == nullptr)
        return E_POINTER;
    *pdt = WallToDate(m_pRecord->nStart);
    return S_OK;
}

HRESULT IAppointment::put_Start(DATE dt)
{
    return ReadTime(dt, &m_pRecord->nStart);
}

HRESULT IAppointment::get_End(DATE* pdt) const
{
    if (pdt == nullptr)
        return E_POINTER;
    *pdt = WallToDate(m_pRecord->nEnd);
    return S_OK;
}

HRESULT IAppointment::put_End(DATE dt)
{
    return ReadTime(dt, &m_pRecord->nEnd);
}

HRESULT IAppointment::get_Duration(int32_t* pnMinutes) const
{
    if (pnMinutes == nullptr)
        return E_POINTER;
    *pnMinutes = static_cast<int32_t>(m_pRecord->nEnd - m_pRecord->nStart);
    return S_OK;
}

HRESULT IAppointment::get_AllDayEvent(BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    *pb = m_pRecord->bAllDay ? TRUE : FALSE;
    return S_OK;
}

HRESULT IAppointment::put_AllDayEvent(BOOL b)
{
    m_pRecord->bAllDay = b != FALSE;
    return S_OK;
}

HRESULT IAppointment::get_ReminderMinutesBeforeStart(int32_t* pnMinutes) const
{
    if (pnMinutes == nullptr)
        return E_POINTER;
    *pnMinutes = m_pRecord->nReminderMinutes;
    return S_OK;
}

HRESULT IAppointment::put_ReminderMinutesBeforeStart(int32_t nMinutes)
{
    if (nMinutes < 0)
        return E_INVALIDARG;
    m_pRecord->nReminderMinutes = nMinutes;
    return S_OK;
}
