#include "week/AgendaSettings.h"

#include "platform/CRegistry.h"
#include "platform/ShortDate.h"

const char* const QUILLDAY_REGISTRY_SUBKEY = "SOFTWARE\\Quillday";

namespace {

constexpr int kFormatBufferChars = 50;  // GetDateFormatW buffer, terminator included
constexpr int kDefaultFontSize = 10;
// A font height outside this range draws nothing readable (0, or a negative number once
// read as a signed height) or breaks every row layout; such a value gives the default.
constexpr DWORD kMaxFontSize = 255;

QString SubKey() { return QString::fromLatin1(QUILLDAY_REGISTRY_SUBKEY); }

BOOL ReadFlag(const CRegistry& reg, const char* name, BOOL bDefault)
{
    return static_cast<BOOL>(reg.ReadDWORD(HKEY_LOCAL_MACHINE, SubKey(), QString::fromLatin1(name),
                                           static_cast<DWORD>(bDefault)));
}

}  // namespace

namespace {

// Where the digits of strValue ("2010", "10") stand in the text, written in any one
// family of decimal digits (ar_EG and fa_IR write their own); -1 when nowhere.
int FindNumber(const QString& strText, const QString& strValue, QChar* pZero)
{
    for (int i = 0; i + strValue.size() <= strText.size(); ++i) {
        const QChar first = strText[i];
        if (!first.isDigit() || (i > 0 && strText[i - 1].isDigit()))
            continue;
        const char16_t zero = first.unicode() - char16_t(first.digitValue());
        int k = 0;
        while (k < strValue.size() && strText[i + k].unicode() == zero + (strValue[k].unicode() - u'0'))
            ++k;
        if (k == strValue.size() && (i + k == strText.size() || !strText[i + k].isDigit())) {
            *pZero = QChar(zero);
            return i;
        }
    }
    return -1;
}

}  // namespace

QString AgendaSettings::MakeNoDateText(const QString& strFormatted2010)
{
    QString text = strFormatted2010;
    QChar zero;
    for (const QString& strYear : {QStringLiteral("2010"), QStringLiteral("10")}) {
        const int pos = FindNumber(text, strYear, &zero);
        if (pos < 0)
            continue;
        QString str4501;
        for (QChar c : QStringLiteral("4501"))
            str4501 += QChar(zero.unicode() + (c.unicode() - u'0'));
        return text.replace(pos, int(strYear.size()), str4501);
    }
    return text;
}

QString AgendaSettings::ComputeNoDateText()
{
    SYSTEMTIME st;
    st.wYear = 2010;
    st.wMonth = 1;
    st.wDay = 1;
    st.wDayOfWeek = 5;  // a Friday
    QString formatted = FormatShortDate(st);
    if (formatted.size() >= kFormatBufferChars)
        formatted.clear();  // GetDateFormatW fails when the buffer is too small
    return MakeNoDateText(formatted);
}

void AgendaSettings::Load()
{
    NoDateText = ComputeNoDateText();
    const CRegistry reg;
    const DWORD dwFontSize = reg.ReadDWORD(HKEY_LOCAL_MACHINE, SubKey(), QStringLiteral("FontSize"), kDefaultFontSize);
    FontSize = (dwFontSize >= 1 && dwFontSize <= kMaxFontSize) ? static_cast<int>(dwFontSize) : kDefaultFontSize;
    FontName = reg.ReadString(HKEY_LOCAL_MACHINE, SubKey(), QStringLiteral("FontName"), QStringLiteral("mirafon"));
    Use24Hour = ReadFlag(reg, "24hour", 0);
    Multiline = ReadFlag(reg, "Multiline", 0);
    NotesPenDefault = ReadFlag(reg, "NotesPenDefault", 1);
    UseSoftKey = ReadFlag(reg, "UseSoftKey", 0);
    BoldAllDayEvent = ReadFlag(reg, "BoldAllDayEvent", 0);
    BoldImportantTask = ReadFlag(reg, "BoldImportantTask", 0);
    ShowTaskStart = ReadFlag(reg, "ShowTaskStart", 0);
    ShowCompleteTask = ReadFlag(reg, "ShowCompleteTask", 1);
    Language = reg.ReadDWORD(HKEY_LOCAL_MACHINE, SubKey(), QStringLiteral("Language"), kLanguageFromLocale);
    if (Language > kLanguageEnglish)
        Language = kLanguageFromLocale;
}

void AgendaSettings::Save(BOOL bUseSoftKeyToWrite) const
{
    const CRegistry reg;
    const struct {
        const char* name;
        BOOL bValue;
    } values[] = {
        {"24hour", Use24Hour},
        {"Multiline", Multiline},
        {"NotesPenDefault", NotesPenDefault},
        {"UseSoftKey", bUseSoftKeyToWrite},
        {"BoldAllDayEvent", BoldAllDayEvent},
        {"BoldImportantTask", BoldImportantTask},
        {"ShowTaskStart", ShowTaskStart},
        {"ShowCompleteTask", ShowCompleteTask},
    };
    // The results are ignored: a value that cannot be written keeps its old registry value.
    for (const auto& value : values)
        reg.WriteDWORD(HKEY_LOCAL_MACHINE, SubKey(), QString::fromLatin1(value.name), static_cast<DWORD>(value.bValue));
    // Written once chosen; a settings file that never had it keeps its eight values.
    if (Language != kLanguageFromLocale
        || reg.ReadDWORD(HKEY_LOCAL_MACHINE, SubKey(), QStringLiteral("Language"), kLanguageFromLocale)
               != kLanguageFromLocale)
        reg.WriteDWORD(HKEY_LOCAL_MACHINE, SubKey(), QStringLiteral("Language"), Language);
}

QString LanguageCodeOf(DWORD dwLanguage)
{
    if (dwLanguage == kLanguageKorean)
        return QStringLiteral("ko");
    return dwLanguage == kLanguageEnglish ? QStringLiteral("en") : QString();
}
