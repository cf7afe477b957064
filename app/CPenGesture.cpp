#include "app/CPenGesture.h"
#include <cmath>
#include <numbers>

void CPenGesture::Start(POINT pt)
{
    m_ptLast = pt;
    m_bTracking = TRUE;
    m_strGesture.clear();
}

void CPenGesture::Step(POINT pt)
{
    if (!m_bTracking)
        return;
    const char cDigit = DirectionDigit(m_ptLast, pt);
    if (cDigit == 0)
        return;
    if (m_strGesture.isEmpty() || m_strGesture.back() != QLatin1Char(cDigit))
        m_strGesture.append(QLatin1Char(cDigit));
    m_ptLast = pt;
}

BOOL CPenGesture::Finish(QString* pStroke)
{
    if (!m_bTracking)
        return FALSE;
    m_bTracking = FALSE;
    *pStroke = m_strGesture;
    return TRUE;
}

char CPenGesture::DirectionDigit(POINT ptFrom, POINT ptTo)
{
    const double dx = static_cast<double>(ptTo.x) - ptFrom.x;
    const double dy = static_cast<double>(ptFrom.y) - ptTo.y;  // measured upwards
    const int nDistance = static_cast<int>(std::sqrt(dx * dx + dy * dy));
    if (nDistance <= kGestureMinStep)
        return 0;
    const double a = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    if (a > -45.0 && a <= 45.0)
        return '6';
    if (a > 45.0 && a <= 135.0)
        return '8';
    if (a > -135.0 && a <= -45.0)
        return '2';
    return '4';
}

const std::array<GestureStroke, 5>& GestureStrokes()
{
    static const std::array<GestureStroke, 5> strokes = {{
        {EGesture::Open, "2", "RC_STROKE_OPEN"},
        {EGesture::ToggleComplete, "6", "RC_STROKE_COMPLETE"},
        {EGesture::Delete, "646", "RC_STROKE_DELETE"},
        {EGesture::NewAppointment, "62", "RC_STROKE_NEWAPPOINTMENT"},
        {EGesture::NewTask, "42", "RC_STROKE_NEWTASK"},
    }};
    return strokes;
}

EGesture GestureCommand(const QString& strStroke)
{
    for (const GestureStroke& stroke : GestureStrokes()) {
        if (strStroke == QLatin1String(stroke.pszDirections))
            return stroke.gesture;
    }
    return EGesture::None;
}
