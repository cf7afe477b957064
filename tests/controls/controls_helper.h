#pragma once
// Shared pieces of the controls' window tests: a receiver that records every
// notification, event senders, rendering and picture comparison.
#include "controls/Notify.h"
#include "platform/WinTypes.h"
#include <QImage>
#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>

struct NotifyEntry {
    QWidget* pFrom = nullptr;
    intptr_t nId = 0;
    unsigned nCode = 0;
    int nItem = 0;      // list records
    POINT pt;           // list records
    int nNewWeek = 0;   // calendar records
    int nOldWeek = 0;
};

class NotifyRecorder : public QWidget, public INotifyReceiver {
public:
    explicit NotifyRecorder(QWidget* pParent = nullptr);
    intptr_t OnNotify(NMHDR* pHdr) override;

    QVector<unsigned> Codes() const;
    void Clear() { m_entries.clear(); }

    QVector<NotifyEntry> m_entries;
    std::function<void(const NotifyEntry&)> m_onNotify;  // runs after recording
    intptr_t m_nAnswer = 0;
};

// TZ, the font substitutions; call at the start of initTestCase.
void InitControlsTest();
// The widget painted through its paint handler, as RGB32.
QImage Render(QWidget* pWidget);
COLORREF PixelRef(const QImage& image, int x, int y);
// TRUE when the region at (x, y) shows the picture: pixels of the picture that are white
// show crWhiteAs instead (pass 0xFFFFFF for an opaque copy).
bool RegionShows(const QImage& image, int x, int y, const QImage& picture, COLORREF crWhiteAs);
bool ContainsColor(const QImage& image, const QRect& rect, COLORREF cr);
void SendMouse(QWidget* pWidget, int nType, int x, int y, bool bPressed);
QString TestOutputPath(const QString& strName);
