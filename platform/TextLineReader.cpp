#include "platform/TextLineReader.h"

#include "platform/CAnsiCodePage.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr int kMaxPieceUnits = 254;  // a 255-unit buffer less its terminator

// The device's fgets/fgetws: up to kMaxPieceUnits units, ending after the first LF.
template <typename Unit>
int PieceLength(const Unit* pUnits, int nAvailable)
{
    const int limit = std::min(nAvailable, kMaxPieceUnits);
    for (int i = 0; i < limit; ++i) {
        if (pUnits[i] == Unit('\n'))
            return i + 1;
    }
    return limit;
}

// Removes up to two trailing CR or LF characters, one at a time from the end.
void StripLineEnd(QString* pLine)
{
    for (int i = 0; i < 2 && !pLine->isEmpty(); ++i) {
        const QChar last = pLine->back();
        if (last != QLatin1Char('\r') && last != QLatin1Char('\n'))
            break;
        pLine->chop(1);
    }
}

}  // namespace

struct CTextLineReader::Impl {
    QByteArray bytes;
    int nPos = 0;
    bool bOpen = false;
    bool bUtf16 = false;
    CAnsiCodePage codePage;

    bool ReadUtf16Piece(QString* pLine);
    bool ReadAnsiPiece(QString* pLine);
};

CTextLineReader::CTextLineReader() : m_pImpl(std::make_unique<Impl>()) {}

CTextLineReader::~CTextLineReader() = default;

bool CTextLineReader::Open(const QString& path)
{
    Close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Impl& d = *m_pImpl;
    d.bytes = file.readAll();
    d.bOpen = true;
    d.bUtf16 = d.bytes.size() >= 2 && static_cast<uchar>(d.bytes[0]) == 0xFF
               && static_cast<uchar>(d.bytes[1]) == 0xFE;
    if (d.bUtf16) {
        d.nPos = 2;
        return true;
    }
    d.codePage.Open();
    // A UTF-8 byte-order mark is only a signature when the code page is UTF-8 itself.
    d.nPos = (d.codePage.IsUtf8() && d.bytes.startsWith("\xEF\xBB\xBF")) ? 3 : 0;
    return true;
}

void CTextLineReader::Close()
{
    Impl& d = *m_pImpl;
    d.bytes.clear();
    d.nPos = 0;
    d.bOpen = false;
    d.bUtf16 = false;
}

bool CTextLineReader::IsUtf16() const { return m_pImpl->bUtf16; }

bool CTextLineReader::ReadLine(QString* pLine)
{
    Impl& d = *m_pImpl;
    if (!d.bOpen || !pLine)
        return false;
    const bool bRead = d.bUtf16 ? d.ReadUtf16Piece(pLine) : d.ReadAnsiPiece(pLine);
    if (bRead)
        StripLineEnd(pLine);
    return bRead;
}

bool CTextLineReader::Impl::ReadUtf16Piece(QString* pLine)
{
    // A lone last byte is no code unit. One unit more than a piece tells whether a
    // surrogate pair would be split.
    const int nUnits = std::min((static_cast<int>(bytes.size()) - nPos) / 2, kMaxPieceUnits + 1);
    if (nUnits <= 0)
        return false;
    QString units(nUnits, Qt::Uninitialized);
    for (int i = 0; i < nUnits; ++i) {
        const auto lo = static_cast<uchar>(bytes[nPos + 2 * i]);
        const auto hi = static_cast<uchar>(bytes[nPos + 2 * i + 1]);
        units[i] = QChar(static_cast<char16_t>(lo | (hi << 8)));
    }
    int nLength = PieceLength(units.utf16(), nUnits);
    // Never split a surrogate pair between two pieces.
    if (nLength == kMaxPieceUnits && nLength < nUnits && units.at(nLength - 1).isHighSurrogate())
        --nLength;
    *pLine = units.left(nLength);
    nPos += 2 * nLength;
    return true;
}

bool CTextLineReader::Impl::ReadAnsiPiece(QString* pLine)
{
    const int nAvailable = bytes.size() - nPos;
    if (nAvailable <= 0)
        return false;
    int nLength = PieceLength(bytes.constData() + nPos, nAvailable);
    const bool bCut = nLength == kMaxPieceUnits && bytes[nPos + nLength - 1] != '\n' && nLength < nAvailable;
    *pLine = codePage.Convert(bytes.constData() + nPos, &nLength, bCut);
    nPos += nLength;
    return true;
}
