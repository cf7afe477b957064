#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/CSoftKeyBar.h"
#include "dialogs/DetailForms.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include "week/CWeekPane.h"
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

CMainFrame::CMainFrame()
{
    setWindowTitle(QString::fromLatin1(kAppTitle));
    resize(kHandheldWidth, kHandheldHeight);
}

CMainFrame::~CMainFrame()
{
    // The store first, then the record reads, then the view.
    CloseSources();
    m_pView.reset();
}

BOOL CMainFrame::Create()
{
    if (!OpenSources())
        return FALSE;
    m_pView = std::make_unique<CMainView>(this);
    if (!m_pView->Create(this, AFX_IDW_PANE_FIRST))
        return FALSE;
    m_pView->setGeometry(rect());
    resizeEvent(nullptr);
    return TRUE;
}

BOOL CMainFrame::ConnectOutlook()
{
    if (!CWeekSources::ConnectOutlook())
        return FALSE;
    // The store's own detail forms (Display), over this window with its texts.
    m_pOutlookApp->SetDisplayForm(MakeDisplayForm(DetailFormContext{this, &m_strings, m_settings.Use24Hour != 0}));
    return TRUE;
}

QString CMainFrame::GetReadOnlyNotice() const
{
    if (!m_pOutlookApp || !m_pOutlookApp->IsReadOnly())
        return QString();
    return QStringLiteral("Read only: %1").arg(m_pOutlookApp->GetReadOnlyReason());
}

void CMainFrame::ReloadSpecialDays()
{
    m_specialDays.RemoveAll();
    LoadSpecialDayFile();
}

BOOL CMainFrame::OpenPimDatabases()
{
    return m_pimDatabases.OpenPimDatabases(m_pOutlookApp.get(), this,
                                           [this](DWORD nType, int32_t, int) { OnDbNotification(nType); });
}

void CMainFrame::OnDbNotification(DWORD nType)
{
    if (nType != DB_CEOID_CREATED && nType != DB_CEOID_RECORD_DELETED && nType != DB_CEOID_CHANGED)
        return;
    if (m_pView)
        m_pView->GetWeekPane()->SetWeek(m_currentDate);
    emit StoreChanged();
}

void CMainFrame::OnWeekLoadFailed(const QString& strReason)
{
    m_strLoadFailure = strReason;
    if (!m_bLoadFailureBoxes || m_bLoadFailureBoxPending)
        return;
    m_bLoadFailureBoxPending = true;
    QTimer::singleShot(0, this, [this]() {
        QString strCaption = GetResourceString(m_strings, QStringLiteral("RC_COMMON_PRODUCT_TITLE"));
        if (strCaption.isEmpty())
            strCaption = QString::fromLatin1(kAppTitle);
        MessageBox(m_strLoadFailure + QStringLiteral("\n\nThe week shows what could be read."), strCaption,
                   MB_OK | MB_ICONWARNING);
        m_bLoadFailureBoxPending = false;
    });
}

QString CMainFrame::GetMonthName(int nMonth) const
{
    return ::GetMonthName(m_strings, nMonth);
}

void CMainFrame::changeEvent(QEvent* pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow() && !m_settings.UseSoftKey)
        MoveToWorkArea();
}

// The desktop's counterpart of moving onto the work area: a frame that lies partly
// outside the available screen area is moved back inside it.
void CMainFrame::MoveToWorkArea()
{
    ++m_nWorkAreaMoves;
    const QScreen* pScreen = screen();
    if (pScreen == nullptr || isMaximized() || isFullScreen())
        return;
    const QRect area = pScreen->availableGeometry();
    QRect frame = frameGeometry();
    if (area.contains(frame))
        return;
    frame.moveLeft(qBound(area.left(), frame.left(), qMax(area.left(), area.right() - frame.width() + 1)));
    frame.moveTop(qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() - frame.height() + 1)));
    move(frame.topLeft());
}

void CMainFrame::focusInEvent(QFocusEvent*)
{
    if (m_pView)
        m_pView->setFocus();
}

void CMainFrame::resizeEvent(QResizeEvent*)
{
    if (!m_pView)
        return;
    const CSoftKeyBar* pBar = m_pView->GetSoftKeyBar();
    const int nBarHeight = pBar != nullptr ? pBar->height() : 0;
    m_pView->setGeometry(0, 0, width(), height() - nBarHeight);
    if (pBar != nullptr)
        m_pView->GetSoftKeyBar()->setGeometry(0, height() - nBarHeight, width(), nBarHeight);
}
