#include "dialogs/CAboutPage.h"
#include "resources/UiLanguage.h"
#include "dialogs/OptionIds.h"
#include "platform/BitmapResource.h"
#include "platform/ProgramFolder.h"
#include "resources/VersionString.h"
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int kTitlePixels = 16;
constexpr int kGapAfterVersion = 12;

}  // namespace

CAboutPage::CAboutPage(const StringTable* pStrings)
    : CPropertyPage(UiText(QStringLiteral("정보"), QStringLiteral("About")), pStrings)
    , m_strModulePath(GetModuleFilePath())
{
}

void CAboutPage::OnInitDialog()
{
    auto addLabel = [this](int nId, const QString& strText) {
        auto* pLabel = new QLabel(strText, this);
        pLabel->setAlignment(Qt::AlignHCenter);
        SetDlgCtrlID(pLabel, nId);
        GetLayout()->addWidget(pLabel);
        return pLabel;
    };
    QLabel* pIcon = addLabel(IDC_ABOUT_ICON, QString());
    QImage icon;
    if (LoadBitmapResource(IDB_PROGRAM_ICON, &icon))
        pIcon->setPixmap(QPixmap::fromImage(icon));
    QLabel* pTitle = addLabel(IDC_ABOUT_TITLE, QString());
    QFont titleFont = pTitle->font();
    titleFont.setPixelSize(kTitlePixels);
    titleFont.setBold(true);
    pTitle->setFont(titleFont);
    QLabel* pVersion = addLabel(IDC_ABOUT_VERSION, QString());
    GetLayout()->addSpacing(kGapAfterVersion);
    addLabel(IDC_ABOUT_MAKER_1, QStringLiteral("A week agenda for pen and keys"));
    addLabel(IDC_ABOUT_MAKER_2, QStringLiteral("Appointments, tasks, holidays"));
    addLabel(IDC_ABOUT_MAKER_3, QStringLiteral("and anniversaries, lunar dates too"));
    addLabel(IDC_ABOUT_MAKER_4, QStringLiteral("Built on Qt, SQLite and libical"));
    addLabel(IDC_ABOUT_LICENCE, QStringLiteral("Free software: GNU GPL 3 or later"));

    QString strVersion;
    GetVersionString(m_strModulePath, QStringLiteral("ProductVersion"), &strVersion);
    pTitle->setText(LoadString("RC_COMMON_PRODUCT_TITLE"));
    pVersion->setText(strVersion);
}
