#include "dialogs/CPropertyPage.h"
#include "resources/StringTable.h"
#include <QCheckBox>
#include <QVBoxLayout>

namespace {

const char* const kCtrlIdProperty = "ctrlId";
constexpr int kPageMargin = 8;
constexpr int kControlSpacing = 6;

}  // namespace

CPropertyPage::CPropertyPage(const QString& strTabCaption, const StringTable* pStrings)
    : m_strTabCaption(strTabCaption)
    , m_pStrings(pStrings)
{
}

void CPropertyPage::SetDlgCtrlID(QWidget* pControl, int nId)
{
    pControl->setProperty(kCtrlIdProperty, nId);
}

QWidget* CPropertyPage::GetDlgItem(int nId) const
{
    for (QWidget* pChild : findChildren<QWidget*>()) {
        const QVariant id = pChild->property(kCtrlIdProperty);
        if (id.isValid() && id.toInt() == nId)
            return pChild;
    }
    return nullptr;
}

void CPropertyPage::Create()
{
    if (m_bCreated)
        return;
    m_bCreated = true;
    m_pLayout = new QVBoxLayout(this);
    m_pLayout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    m_pLayout->setSpacing(kControlSpacing);
    OnInitDialog();
    m_pLayout->addStretch(1);
    // Controls made while the page is being shown would otherwise appear only after the
    // next pass of the event loop.
    for (QWidget* pChild : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        pChild->show();
    m_pLayout->activate();
    UpdateData(FALSE);
}

BOOL CPropertyPage::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_bCreated)
        return FALSE;
    DoDataExchange(bSaveAndValidate);
    return TRUE;
}

QString CPropertyPage::LoadString(const char* pszKey) const
{
    return m_pStrings != nullptr ? GetResourceString(*m_pStrings, QString::fromLatin1(pszKey)) : QString();
}

QCheckBox* CPropertyPage::AddCheckBox(int nId, const QString& strTemplateText)
{
    auto* pCheck = new QCheckBox(strTemplateText, this);
    SetDlgCtrlID(pCheck, nId);
    m_pLayout->addWidget(pCheck);
    return pCheck;
}

void CPropertyPage::DDX_Check(int nId, BOOL* pValue, BOOL bSaveAndValidate)
{
    auto* pCheck = qobject_cast<QCheckBox*>(GetDlgItem(nId));
    if (pCheck == nullptr)
        return;
    if (bSaveAndValidate)
        *pValue = pCheck->isChecked() ? 1 : 0;
    else
        pCheck->setChecked(*pValue != 0);
}

void CPropertyPage::showEvent(QShowEvent* pEvent)
{
    Create();
    QWidget::showEvent(pEvent);
}
