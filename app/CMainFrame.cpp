#include "app/CMainFrame.h"
#include "resources/UiLanguage.h"
#include "app/CMainView.h"
#include "app/CSoftKeyBar.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/TimeText.h"
#include "dialogs/DetailForms.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"
#include "week/CWeekPane.h"
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

const char* const kPoomFailureText = "Can't initialize POOM (Pocket Outlook Object Model)";
const char* const kSpecialDaysFailureText = "Can not open resource file 'anniversary.dat'.";
const char* const kPimDatabaseFailureText = "Can not open 'PIMs Database'.";
const char* const kStringsFailureText = "Can not open resource file 'orlith.inf'.";
const char* const kAppTitle = "Quillday";

CMainFrame::CMainFrame()
{
    m_settings.Load();
    m_currentDate = ::GetToday();
    setWindowTitle(QString::fromLatin1(kAppTitle));
    resize(kHandheldWidth, kHandheldHeight);
}

CMainFrame::~CMainFrame()
{
    // The store first, then the record reads, then the view.
    if (m_pOutlookApp)
        m_pOutlookApp->Logoff();
    m_pOutlookApp.reset();
    m_pimDatabases.Close();
    m_pView.reset();
}

BOOL CMainFrame::Fail(const char* pszText, unsigned nType)
{
    MessageBox(QString::fromLatin1(pszText), QString::fromLatin1(kAppTitle), nType);
    return FALSE;
}

BOOL CMainFrame::Create()
{
    // The settings were read in the constructor; a file that is no settings file was left
    // alone, and the user should know why changed options will not last.
    const QString strRefusal = RegistryRefusal();
    if (!strRefusal.isEmpty())
        MessageBox(strRefusal, QString::fromLatin1(kAppTitle), MB_OK | MB_ICONWARNING);
    if (!ConnectOutlook()) {
        // The fixed text, and the reason when the store is fine but the disk is full.
        QString strText = QString::fromLatin1(kPoomFailureText);
        if (!m_strConnectFailure.isEmpty())
            strText += QStringLiteral("\n\n") + m_strConnectFailure;
        MessageBox(strText, QString::fromLatin1(kAppTitle), MB_ICONHAND);
        return FALSE;
    }
    if (!LoadSpecialDayFile())
        return Fail(kSpecialDaysFailureText, MB_ICONHAND);
    if (!OpenPimDatabases())
        return Fail(kPimDatabaseFailureText, MB_ICONHAND);
    ApplyUiLanguage(LanguageCodeOf(m_settings.Language));
    if (!LoadStrings())
        return Fail(kStringsFailureText, MB_OK);
    m_pView = std::make_unique<CMainView>(this);
    if (!m_pView->Create(this, AFX_IDW_PANE_FIRST))
        return FALSE;
    m_pView->setGeometry(rect());
    resizeEvent(nullptr);
    return TRUE;
}

BOOL CMainFrame::ConnectOutlook()
{
    auto pApp = std::make_unique<IPOutlookApp>();
    const HRESULT hr = pApp->Logon(GetStorePath());
    if (hr == E_PIM_DISKFULL)
        m_strConnectFailure = QStringLiteral("%1: %2").arg(GetStorePath(), pApp->GetLogonFailure());
    if (FAILED(hr))
        return FALSE;
    // The store's own detail forms (Display), over this window with its texts.
    pApp->SetDisplayForm(MakeDisplayForm(DetailFormContext{this, &m_strings, m_settings.Use24Hour != 0}));
    m_pOutlookApp = std::move(pApp);
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

BOOL CMainFrame::LoadSpecialDayFile()
{
    return LoadSpecialDays(&m_specialDays) == TRUE;
}

BOOL CMainFrame::OpenPimDatabases()
{
    return m_pimDatabases.OpenPimDatabases(m_pOutlookApp.get(), this,
                                           [this](DWORD nType, int32_t, int) { OnDbNotification(nType); });
}

BOOL CMainFrame::LoadStrings()
{
    return LoadResourceStrings(&m_strings) == TRUE;
}

void CMainFrame::OnDbNotification(DWORD nType)
{
    if (nType != DB_CEOID_CREATED && nType != DB_CEOID_RECORD_DELETED && nType != DB_CEOID_CHANGED)
        return;
    if (m_pView)
        m_pView->GetWeekPane()->SetWeek(m_currentDate);
    emit StoreChanged();
}

DateTime CMainFrame::GetToday() const
{
    return ::GetToday();
}

QString CMainFrame::FormatTime(const SYSTEMTIME& st) const
{
    return ::FormatTime(st, m_settings.Use24Hour != 0);
}

QString CMainFrame::GetWeekdayShortName(int nDay) const
{
    return ::GetWeekdayShortName(m_strings, nDay);
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
