#include "week/CWeekSources.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/TimeText.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"
#include "resources/UiLanguage.h"

const char* const kPoomFailureText = "Can't initialize POOM (Pocket Outlook Object Model)";
const char* const kSpecialDaysFailureText = "Can not open resource file 'anniversary.dat'.";
const char* const kPimDatabaseFailureText = "Can not open 'PIMs Database'.";
const char* const kStringsFailureText = "Can not open resource file 'orlith.inf'.";
const char* const kAppTitle = "Quillday";

CWeekSources::CWeekSources()
{
    m_settings.Load();
    m_currentDate = ::GetToday();
}

CWeekSources::~CWeekSources()
{
    CloseSources();
}

void CWeekSources::CloseSources()
{
    if (m_pOutlookApp)
        m_pOutlookApp->Logoff();
    m_pOutlookApp.reset();
    m_pimDatabases.Close();
}

BOOL CWeekSources::Fail(const char* pszText, unsigned nType)
{
    MessageBox(QString::fromLatin1(pszText), QString::fromLatin1(kAppTitle), nType);
    return FALSE;
}

BOOL CWeekSources::OpenSources()
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
    return TRUE;
}

BOOL CWeekSources::ConnectOutlook()
{
    auto pApp = std::make_unique<IPOutlookApp>();
    const HRESULT hr = pApp->Logon(GetStorePath());
    if (hr == E_PIM_DISKFULL)
        m_strConnectFailure = QStringLiteral("%1: %2").arg(GetStorePath(), pApp->GetLogonFailure());
    if (FAILED(hr))
        return FALSE;
    pApp->GetStore()->MapForReading();
    m_pOutlookApp = std::move(pApp);
    return TRUE;
}

BOOL CWeekSources::LoadSpecialDayFile()
{
    return LoadSpecialDays(&m_specialDays) == TRUE;
}

BOOL CWeekSources::OpenPimDatabases()
{
    return m_pimDatabases.OpenPimDatabases(m_pOutlookApp.get());
}

BOOL CWeekSources::LoadStrings()
{
    return LoadResourceStrings(&m_strings) == TRUE;
}

DateTime CWeekSources::GetToday() const
{
    return ::GetToday();
}

QString CWeekSources::FormatTime(const SYSTEMTIME& st) const
{
    return ::FormatTime(st, m_settings.Use24Hour != 0);
}

QString CWeekSources::GetWeekdayShortName(int nDay) const
{
    return ::GetWeekdayShortName(m_strings, nDay);
}
