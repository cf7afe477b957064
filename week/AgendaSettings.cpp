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

QString AgendaSettings::MakeNoDateText(const QString& strFormatted2010)
{
    QString text = strFormatted2010;
    int pos = text.indexOf(QLatin1String("2010"));
    if (pos >= 0)
        return text.replace(pos, 4, QStringLiteral("4501"));
    pos = text.indexOf(QLatin1String("10"));
    if (pos >= 0)
        return text.replace(pos, 2, QStringLiteral("4501"));
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
}
