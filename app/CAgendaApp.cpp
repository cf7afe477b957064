#include "app/CAgendaApp.h"
#include "week/WeekRange.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "platform/FontSubstitution.h"
#include "week/CWeekPane.h"
#include <QPixmap>

CAgendaApp::CAgendaApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quillday"));
    InstallFontSubstitutions();
}

CAgendaApp::~CAgendaApp()
{
    m_pMainFrame.reset();
}

void CAgendaApp::ChooseOffscreenPlatform()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

BOOL CAgendaApp::CreateFrame()
{
    m_pMainFrame = std::make_unique<CMainFrame>();
    if (!m_pMainFrame->Create()) {
        m_pMainFrame.reset();
        return FALSE;
    }
    return TRUE;
}

BOOL CAgendaApp::InitInstance()
{
    if (!CreateFrame())
        return FALSE;
    m_pMainFrame->show();
    return TRUE;
}

BOOL CAgendaApp::InitOffscreen(int nWidth, int nHeight, const DateTime* pDate)
{
    if (!CreateFrame())
        return FALSE;
    CMainFrame* pFrame = m_pMainFrame.get();
    pFrame->SetLoadFailureBoxes(false);
    if (pDate != nullptr)
        pFrame->GetView()->GetWeekPane()->SetWeek(*pDate);
    pFrame->resize(nWidth, nHeight);
    pFrame->show();
    // Offscreen windows get the focus only once active; with it the current day's list
    // shows its selection and the status line repeats it, as on screen.
    setActiveWindow(pFrame);
    // The first paint with a usable size loads the week.
    PaintOffscreen(pFrame);
    return TRUE;
}

QImage CAgendaApp::PaintOffscreen(QWidget* pWindow)
{
    QCoreApplication::sendPostedEvents();
    return pWindow->grab().toImage();
}
