#pragma once
// The application object: starts the main frame (in a window, or offscreen for the
// command-line modes) and owns it for the run.
#include "platform/WinTypes.h"
#include <QApplication>
#include <QImage>
#include <QString>
#include <memory>

class CMainFrame;
class DateTime;

class CAgendaApp : public QApplication {
    Q_OBJECT
public:
    CAgendaApp(int& argc, char** argv);
    ~CAgendaApp() override;

    // Makes the offscreen platform the one the next application object uses (command-line
    // modes, which need no display). Call before constructing.
    static void ChooseOffscreenPlatform();

    // Creates the frame (the data sources in order; a failure has shown its box) and
    // shows it. FALSE when start-up failed.
    BOOL InitInstance();
    // The same start-up without a visible window: the frame at nWidth x nHeight on the
    // offscreen platform, shown there and painted once, so the first week load has run.
    // With a date, that date's week is shown instead of today's.
    BOOL InitOffscreen(int nWidth, int nHeight, const DateTime* pDate);

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }

    // Paints the window once into an image, as its first paint would, without waiting for
    // the platform to expose it; returns the picture.
    static QImage PaintOffscreen(QWidget* pWindow);

private:
    BOOL CreateFrame();

    std::unique_ptr<CMainFrame> m_pMainFrame;
};
