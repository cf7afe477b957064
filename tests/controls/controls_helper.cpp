#include "controls_helper.h"
#include "calendar/CScopedTestTime.h"
#include "controls/CListCtrlEx.h"
#include "controls/CWeekCalendar.h"
#include "controls/GdiDraw.h"
#include "platform/FontSubstitution.h"
#include <QApplication>
#include <QDir>
#include <QMouseEvent>

NotifyRecorder::NotifyRecorder(QWidget* pParent)
    : QWidget(pParent)
{
}

intptr_t NotifyRecorder::OnNotify(NMHDR* pHdr)
{
    NotifyEntry entry;
    entry.pFrom = pHdr->hwndFrom;
    entry.nId = pHdr->idFrom;
    entry.nCode = pHdr->code;
    if (qobject_cast<CListCtrlEx*>(pHdr->hwndFrom) != nullptr) {
        const auto* pRecord = reinterpret_cast<const NMLISTCTRLEX*>(pHdr);
        entry.nItem = pRecord->iItem;
        entry.pt = pRecord->ptAction;
    } else if (qobject_cast<CWeekCalendar*>(pHdr->hwndFrom) != nullptr) {
        const auto* pRecord = reinterpret_cast<const NMWEEKCALENDAR*>(pHdr);
        entry.nNewWeek = pRecord->nNewWeek;
        entry.nOldWeek = pRecord->nOldWeek;
    }
    m_entries.push_back(entry);
    if (m_onNotify)
        m_onNotify(entry);
    return m_nAnswer;
}

QVector<unsigned> NotifyRecorder::Codes() const
{
    QVector<unsigned> codes;
    for (const NotifyEntry& entry : m_entries)
        codes.push_back(entry.nCode);
    return codes;
}

void InitControlsTest()
{
    static CScopedTestTime s_zone("EST5EDT,M3.2.0,M11.1.0");  // for the whole test program
    InstallFontSubstitutions();
}

QImage Render(QWidget* pWidget)
{
    return pWidget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

COLORREF PixelRef(const QImage& image, int x, int y)
{
    return RefFromColor(QColor(image.pixel(x, y)));
}

bool RegionShows(const QImage& image, int x, int y, const QImage& picture, COLORREF crWhiteAs)
{
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            COLORREF crWant = RefFromColor(QColor(picture.pixel(px, py)));
            if (crWant == 0xFFFFFF)
                crWant = crWhiteAs;
            if (PixelRef(image, x + px, y + py) != crWant)
                return false;
        }
    }
    return true;
}

bool ContainsColor(const QImage& image, const QRect& rect, COLORREF cr)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (PixelRef(image, x, y) == cr)
                return true;
        }
    }
    return false;
}

void SendMouse(QWidget* pWidget, int nType, int x, int y, bool bPressed)
{
    const QPointF pt(x, y);
    const auto type = static_cast<QEvent::Type>(nType);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = bPressed ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, pt, pWidget->mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

QString TestOutputPath(const QString& strName)
{
    QString strDir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (strDir.isEmpty())
        strDir = QDir::tempPath() + QStringLiteral("/quillday-test-output");
    QDir().mkpath(strDir);
    return strDir + QLatin1Char('/') + strName;
}
