#include "platform/CAnsiCodePage.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <vector>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsUtf8Name(const QString& name)
{
    const QString n = name.toUpper().remove(QLatin1Char('-')).remove(QLatin1Char('_'));
    return n == QLatin1String("UTF8");
}

// The character set of the user's locale (LC_ALL, LC_CTYPE, LANG), whatever setlocale
// the process itself has called.
QString LocaleCharacterSet()
{
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr))
        return QString();
    const QString name = QString::fromLatin1(nl_langinfo_l(CODESET, loc));
    freelocale(loc);
    return name;
}

}  // namespace

CAnsiCodePage::CAnsiCodePage() = default;

CAnsiCodePage::~CAnsiCodePage() { Close(); }

QString CAnsiCodePage::SystemCodePageName()
{
    const QString acp = qEnvironmentVariable("QUILLDAY_ACP");
    if (!acp.isEmpty())
        return acp;
    const QString charset = LocaleCharacterSet();
    // The C locale's "ANSI_X3.4-1968" is plain ASCII; UTF-8 reads the same files and more.
    if (charset.isEmpty() || charset == QLatin1String("ANSI_X3.4-1968") || charset == QLatin1String("ASCII"))
        return QStringLiteral("UTF-8");
    return charset;
}

bool CAnsiCodePage::Open()
{
    Close();
    m_strName = SystemCodePageName();
    m_hIconv = iconv_open("UTF-16LE", m_strName.toLatin1().constData());
    if (m_hIconv == kNoConverter) {
        std::fprintf(stderr, "quillday: unknown code page \"%s\", reading the file as UTF-8\n",
                     m_strName.toLocal8Bit().constData());
        m_strName = QStringLiteral("UTF-8");
        m_hIconv = iconv_open("UTF-16LE", "UTF-8");
    }
    m_bUtf8 = IsUtf8Name(m_strName);
    if (m_hIconv == kNoConverter) {
        m_hIconv = nullptr;
        return false;
    }
    return true;
}

void CAnsiCodePage::Close()
{
    if (m_hIconv)
        iconv_close(static_cast<iconv_t>(m_hIconv));
    m_hIconv = nullptr;
}

QString CAnsiCodePage::Convert(const char* pBytes, int* pnLength, bool bCut)
{
    if (!m_hIconv && !Open())
        return QString::fromLatin1(pBytes, *pnLength);
    const auto cd = static_cast<iconv_t>(m_hIconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char16_t> out(2 * static_cast<size_t>(*pnLength) + 2);
    char* pIn = const_cast<char*>(pBytes);
    size_t nInLeft = static_cast<size_t>(*pnLength);
    char* pOut = reinterpret_cast<char*>(out.data());
    size_t nOutLeft = out.size() * sizeof(char16_t);
    while (nInLeft > 0) {
        if (iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft) != static_cast<size_t>(-1))
            break;
        if (errno == EINVAL && bCut && pIn != pBytes) {
            *pnLength = static_cast<int>(pIn - pBytes);  // the unfinished character waits
            break;
        }
        if (errno == E2BIG || nOutLeft < sizeof(char16_t))
            break;  // cannot happen: two units per byte are room enough
        // An invalid or unfinished sequence: one replacement character for its first byte.
        const char16_t replacement = 0xFFFD;
        std::memcpy(pOut, &replacement, sizeof(replacement));
        pOut += sizeof(replacement);
        nOutLeft -= sizeof(replacement);
        ++pIn;
        --nInLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    const auto nUnits = static_cast<qsizetype>((reinterpret_cast<char16_t*>(pOut) - out.data()));
    return QString(reinterpret_cast<const QChar*>(out.data()), nUnits);
}
