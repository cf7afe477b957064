#include "DialogFixture.h"
#include "dialogs/CDialogSoftKeyBar.h"
#include "dialogs/CDialogToolBar.h"
#include "dialogs/CEditorDialog.h"
#include "dialogs/CNotesDlg.h"
#include "pim/CNotesData.h"
#include "pim/VariantTime.h"
#include "pim/WallTime.h"
#include "platform/FontSubstitution.h"
#include "tests/support/ink_helper.h"
#include <QTimer>
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

CDialogFixture::CDialogFixture()
    : m_time("America/New_York")
{
    qputenv("QUILLDAY_SHORTDATE", "yyyy-MM-dd");
    InstallFontSubstitutions();
    m_time.SetNow(2015, 3, 4, 9, 40);
    LoadResourceStringsFrom(&m_strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/orlith.inf"));
    m_pApp = std::make_unique<IPOutlookApp>();
    m_pApp->Logon(m_dir.filePath(QStringLiteral("pim.sqlite")));
    m_mainWindow.resize(240, 320);
}

CDialogFixture::~CDialogFixture()
{
    m_pApp.reset();
}

int32_t CDialogFixture::AddAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, bool bAllDay,
                                const QByteArray& notes, bool bReminder)
{
    std::unique_ptr<IAppointment> pAppt;
    m_pApp->CreateItem(olAppointmentItem, &pAppt);
    pAppt->put_Subject(strSubject);
    pAppt->put_Start(dtStart);
    pAppt->put_End(dtEnd);
    pAppt->put_AllDayEvent(bAllDay ? TRUE : FALSE);
    pAppt->put_BodyInk(notes);
    pAppt->put_ReminderSet(bReminder ? TRUE : FALSE);
    pAppt->Save();
    int32_t nOid = 0;
    pAppt->get_Oid(&nOid);
    return nOid;
}

int32_t CDialogFixture::AddTask(const QString& strSubject, DATE dtStart, DATE dtDue, int nImportance,
                                bool bComplete, const QByteArray& notes, bool bReminder)
{
    std::unique_ptr<ITask> pTask;
    m_pApp->CreateItem(olTaskItem, &pTask);
    pTask->put_Subject(strSubject);
    pTask->put_StartDate(dtStart);
    pTask->put_DueDate(dtDue);
    pTask->put_Importance(nImportance);
    pTask->put_Complete(bComplete ? VARIANT_TRUE : VARIANT_FALSE);
    pTask->put_BodyInk(notes);
    pTask->put_ReminderSet(bReminder ? TRUE : FALSE);
    pTask->Save();
    int32_t nOid = 0;
    pTask->get_Oid(&nOid);
    return nOid;
}

std::unique_ptr<IAppointment> CDialogFixture::GetAppt(int32_t nOid)
{
    std::unique_ptr<IAppointment> pAppt;
    m_pApp->GetItemFromOid(nOid, &pAppt);
    return pAppt;
}

std::unique_ptr<ITask> CDialogFixture::GetTask(int32_t nOid)
{
    std::unique_ptr<ITask> pTask;
    m_pApp->GetItemFromOid(nOid, &pTask);
    return pTask;
}

namespace {

int CountItems(IPOutlookApp* pApp, int nFolder)
{
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    int32_t nCount = 0;
    if (SUCCEEDED(pApp->GetDefaultFolder(nFolder, &pFolder)) && SUCCEEDED(pFolder->get_Items(&pItems)))
        pItems->get_Count(&nCount);
    return nCount;
}

}  // namespace

int CDialogFixture::CountAppts()
{
    return CountItems(m_pApp.get(), olFolderCalendar);
}

int CDialogFixture::CountTasks()
{
    return CountItems(m_pApp.get(), olFolderTasks);
}

QByteArray CDialogFixture::StoreDigest()
{
    QByteArray all;
    for (const QString& name : {QStringLiteral("pim.sqlite"), QStringLiteral("pim.sqlite-wal")}) {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return QCryptographicHash::hash(all, QCryptographicHash::Sha256);
}

void TypeInto(QWidget* pEdit, const QString& strText)
{
    pEdit->setFocus(Qt::MouseFocusReason);
    QWidget* pTarget = pEdit;
    if (auto* pCombo = qobject_cast<QComboBox*>(pEdit))
        pTarget = pCombo->lineEdit();
    QTest::keyClick(pTarget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pTarget, Qt::Key_Delete);
    QTest::keyClicks(pTarget, strText);
}

bool PickListEntry(QComboBox* pCombo, const QString& strText)
{
    const int nIndex = pCombo->findText(strText);
    if (nIndex < 0)
        return false;
    pCombo->setFocus(Qt::MouseFocusReason);
    pCombo->showPopup();
    QAbstractItemView* pView = pCombo->view();
    const QModelIndex index = pView->model()->index(nIndex, pCombo->modelColumn());
    pView->scrollTo(index);
    const QPoint pt = pView->visualRect(index).center();
    QTest::mouseMove(pView->viewport(), pt);
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    QCoreApplication::processEvents();
    return true;
}

void TypeDate(QDateEdit* pPicker, const QDate& date)
{
    pPicker->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(pPicker, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pPicker, date.toString(QStringLiteral("yyyy-MM-dd")));
    LeaveField(pPicker);
}

void LeaveField(QWidget* pField)
{
    QWidget* pTarget = pField;
    if (auto* pCombo = qobject_cast<QComboBox*>(pField))
        pTarget = pCombo->lineEdit();
    QTest::keyClick(pTarget, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

void PickDateInCalendar(QDateEdit* pPicker, int nDays)
{
    // The drop-down arrow at the picker's right end opens the calendar.
    QTest::mouseClick(pPicker, Qt::LeftButton, Qt::NoModifier, QPoint(pPicker->width() - 6, pPicker->height() / 2));
    QCalendarWidget* pCalendar = pPicker->calendarWidget();
    QWidget* pTarget = pCalendar->focusWidget() != nullptr ? pCalendar->focusWidget() : pCalendar;
    for (int i = 0; i < std::abs(nDays); ++i)
        QTest::keyClick(pTarget, nDays > 0 ? Qt::Key_Right : Qt::Key_Left);
    QTest::keyClick(pTarget, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void Tap(QWidget* pWidget)
{
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, pWidget->rect().center());
}

void TapBox(QWidget* pCheckBox)
{
    QTest::mouseClick(pCheckBox, Qt::LeftButton, Qt::NoModifier, QPoint(6, pCheckBox->height() / 2));
}

bool SaveGrab(QWidget* pWidget, const QString& strName)
{
    const QString strDir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (strDir.isEmpty())
        return false;
    QDir().mkpath(strDir);
    return pWidget->grab().save(QDir(strDir).filePath(strName));
}

namespace {

// One stroke through the points, each relative to an origin.
CInkStroke Stroke(QPoint origin, std::initializer_list<QPoint> points)
{
    CInkStroke stroke;
    stroke.nWidth = 2;
    for (const QPoint& pt : points)
        stroke.points << origin + pt;
    return stroke;
}

}  // namespace

QByteArray HandwrittenNotes()
{
    CNotesData notes;
    notes.m_strText = QStringLiteral("Bring the X-ray pictures");
    // "Hi!" and an underline, drawn as a pen would.
    const QPoint o(12, 40);
    notes.m_strokes << Stroke(o, {{0, 0}, {1, 8}, {1, 16}, {0, 24}});
    notes.m_strokes << Stroke(o, {{0, 12}, {6, 11}, {12, 12}});
    notes.m_strokes << Stroke(o, {{13, 0}, {13, 9}, {12, 17}, {13, 24}});
    notes.m_strokes << Stroke(o, {{22, 12}, {22, 24}});
    notes.m_strokes << Stroke(o, {{22, 5}, {23, 6}});
    notes.m_strokes << Stroke(o, {{32, 0}, {31, 10}, {31, 18}});
    notes.m_strokes << Stroke(o, {{31, 23}, {32, 25}});
    notes.m_strokes << Stroke(o, {{-2, 32}, {20, 30}, {45, 31}, {70, 29}});
    return notes.ToBytes();
}

void WhenNotesEditorOpens(std::function<void(CNotesDlg*)> fnAct, int nCommand)
{
    QTimer::singleShot(0, [fnAct, nCommand]() {
        auto* pDlg = qobject_cast<CNotesDlg*>(QApplication::activeModalWidget());
        if (pDlg == nullptr)
            return;
        fnAct(pDlg);
        pDlg->OnCommand(nCommand);
    });
}

void Open(CEditorDialog& dlg)
{
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
}

void TapToolButton(CEditorDialog& dlg, int nCommand)
{
    QVERIFY(dlg.GetToolBar() != nullptr);
    QToolButton* pButton = dlg.GetToolBar()->GetButton(nCommand);
    QVERIFY(pButton != nullptr);
    Tap(pButton);
}

int32_t OidOf(IPOutlookItem* pItem)
{
    int32_t nOid = 0;
    if (pItem != nullptr)
        pItem->get_Oid(&nOid);
    return nOid;
}

bool ChooseSoftKeyMenuItem(CDialogSoftKeyBar* pBar, const QString& strText)
{
    bool bFound = false;
    QTimer::singleShot(0, [&]() {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->text() == strText) {
                bFound = true;
                QTest::mouseClick(pMenu, Qt::LeftButton, Qt::NoModifier, pMenu->actionGeometry(pAction).center());
                return;
            }
        }
        pMenu->close();
    });
    Tap(pBar->GetKey(1));
    return bFound;
}

QString EditorLayoutFault(CEditorDialog& dlg, bool bSoftKey, int nPreviewTop, std::initializer_list<int> fieldIds)
{
    if (dlg.size() != QSize(240, 320))
        return QStringLiteral("dialog size %1 x %2").arg(dlg.width()).arg(dlg.height());
    QWidget* pBar = bSoftKey ? static_cast<QWidget*>(dlg.GetSoftKeyBar()) : dlg.GetToolBar();
    if (pBar == nullptr || pBar->geometry().bottom() != 319)
        return QStringLiteral("the bar is not at the bottom");
    QWidget* pPreview = dlg.GetNotesPreview();
    if (pPreview->y() != nPreviewTop || pPreview->geometry().bottom() != pBar->y() - 1)
        return QStringLiteral("the preview spans %1 to %2").arg(pPreview->y()).arg(pPreview->geometry().bottom());
    if (InkDarkPixels(InkRender(pPreview), QRect(10, 30, 80, 45)) <= 20)
        return QStringLiteral("the handwriting does not show in the preview");
    for (int nId : fieldIds) {
        const QRect rc = dlg.GetDlgItem(nId)->geometry();
        if (rc.left() < 0 || rc.right() >= 240 || rc.bottom() >= nPreviewTop)
            return QStringLiteral("field %1 is off the screen or under the preview").arg(nId);
    }
    return QString();
}

namespace {

ItemValues ReadCommon(const IPOutlookItem* pItem, DATE dtStart, DATE dtEnd)
{
    ItemValues v;
    pItem->get_Subject(&v.strSubject);
    pItem->get_ReminderSet(&v.bReminder);
    pItem->get_BodyInk(&v.notes);
    v.strStart = DateText(dtStart);
    v.strEnd = DateText(dtEnd);
    return v;
}

}  // namespace

ItemValues Read(IAppointment* pAppt)
{
    DATE dtStart = 0;
    DATE dtEnd = 0;
    pAppt->get_Start(&dtStart);
    pAppt->get_End(&dtEnd);
    ItemValues v = ReadCommon(pAppt, dtStart, dtEnd);
    pAppt->get_Location(&v.strLocation);
    pAppt->get_AllDayEvent(&v.bAllDay);
    return v;
}

ItemValues Read(ITask* pTask)
{
    DATE dtStart = 0;
    DATE dtDue = 0;
    pTask->get_StartDate(&dtStart);
    pTask->get_DueDate(&dtDue);
    ItemValues v = ReadCommon(pTask, dtStart, dtDue);
    pTask->get_Importance(&v.nImportance);
    pTask->get_Complete(&v.bComplete);
    return v;
}
