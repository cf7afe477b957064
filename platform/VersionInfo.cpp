#include "platform/VersionInfo.h"

#include <QFile>
#include <QStringList>
#include <QVector>

#include <elf.h>

#include <cstring>

namespace {

constexpr int kHeaderBytes = 6;          // wLength, wValueLength, wType
constexpr WORD kBinaryValue = 0;
constexpr WORD kTextValue = 1;
constexpr qint64 kMaxBlockBytes = 0xFFFF;  // wLength of the root is a WORD
constexpr qint64 kMaxSectionNameTable = 1 << 20;

// ---- building ----

struct Node {
    QString strKey;
    WORD wType = kBinaryValue;
    WORD wValueLength = 0;  // bytes for a binary value, UTF-16 units for a text value
    QByteArray value;
    QVector<Node> children;
};

void AppendWord(QByteArray* pOut, WORD w)
{
    pOut->append(static_cast<char>(w & 0xFF));
    pOut->append(static_cast<char>(w >> 8));
}

void AppendDword(QByteArray* pOut, DWORD dw)
{
    AppendWord(pOut, static_cast<WORD>(dw & 0xFFFF));
    AppendWord(pOut, static_cast<WORD>(dw >> 16));
}

void AppendText(QByteArray* pOut, const QString& str)
{
    for (QChar ch : str)
        AppendWord(pOut, ch.unicode());
    AppendWord(pOut, 0);
}

void PadToDword(QByteArray* pOut)
{
    while (pOut->size() % 4 != 0)
        pOut->append('\0');
}

QByteArray EncodeNode(const Node& node)
{
    QByteArray out(kHeaderBytes, '\0');
    AppendText(&out, node.strKey);
    PadToDword(&out);
    out.append(node.value);
    for (const Node& child : node.children) {
        PadToDword(&out);
        out.append(EncodeNode(child));
    }
    const auto wLength = static_cast<WORD>(out.size());
    out[0] = static_cast<char>(wLength & 0xFF);
    out[1] = static_cast<char>(wLength >> 8);
    out[2] = static_cast<char>(node.wValueLength & 0xFF);
    out[3] = static_cast<char>(node.wValueLength >> 8);
    out[4] = static_cast<char>(node.wType & 0xFF);
    out[5] = static_cast<char>(node.wType >> 8);
    return out;
}

Node TextNode(const QString& strKey, const QString& strValue)
{
    Node node;
    node.strKey = strKey;
    node.wType = kTextValue;
    AppendText(&node.value, strValue);
    node.wValueLength = static_cast<WORD>(strValue.size() + 1);
    return node;
}

QByteArray FixedFileInfo(const VersionBlockContents& contents)
{
    QByteArray info;
    AppendDword(&info, kFixedFileInfoSignature);
    AppendDword(&info, 0x00010000);  // structure version 1.0
    const WORD* f = contents.wFileVersion;
    const WORD* p = contents.wProductVersion;
    AppendDword(&info, (DWORD(f[0]) << 16) | f[1]);
    AppendDword(&info, (DWORD(f[2]) << 16) | f[3]);
    AppendDword(&info, (DWORD(p[0]) << 16) | p[1]);
    AppendDword(&info, (DWORD(p[2]) << 16) | p[3]);
    AppendDword(&info, 0x3F);  // file flags mask
    AppendDword(&info, 0);     // file flags
    AppendDword(&info, 0x4);   // operating system: 32-bit windows API
    AppendDword(&info, 0x1);   // file type: application
    AppendDword(&info, 0);     // subtype
    AppendDword(&info, 0);     // date, high
    AppendDword(&info, 0);     // date, low
    return info;
}

QString TranslationKey(WORD wLanguage, WORD wCodePage)
{
    return QStringLiteral("%1%2")
        .arg(wLanguage, 4, 16, QLatin1Char('0'))
        .arg(wCodePage, 4, 16, QLatin1Char('0'))
        .toUpper();
}

// ---- reading ----

struct NodeView {
    int nStart = 0;
    int nEnd = 0;  // nStart + wLength
    QString strKey;
    WORD wType = 0;
    WORD wValueLength = 0;
    int nValue = 0;
    int nValueBytes = 0;
    int nChildren = 0;
};

WORD ReadWord(const QByteArray& block, int nOffset)
{
    return static_cast<WORD>(static_cast<unsigned char>(block[nOffset])
                             | (static_cast<unsigned char>(block[nOffset + 1]) << 8));
}

int AlignDword(int n) { return (n + 3) & ~3; }

// The node at nStart, which must lie wholly before nLimit.
bool ReadNode(const QByteArray& block, int nStart, int nLimit, NodeView* pNode)
{
    if (nStart < 0 || nStart + kHeaderBytes > nLimit)
        return false;
    const int wLength = ReadWord(block, nStart);
    if (wLength < kHeaderBytes || nStart + wLength > nLimit)
        return false;
    pNode->nStart = nStart;
    pNode->nEnd = nStart + wLength;
    pNode->wValueLength = ReadWord(block, nStart + 2);
    pNode->wType = ReadWord(block, nStart + 4);
    pNode->strKey.clear();
    int nPos = nStart + kHeaderBytes;
    for (;; nPos += 2) {
        if (nPos + 2 > pNode->nEnd)
            return false;
        const WORD unit = ReadWord(block, nPos);
        if (unit == 0)
            break;
        pNode->strKey.append(QChar(unit));
    }
    pNode->nValue = AlignDword(nPos + 2);
    pNode->nValueBytes = pNode->wType == kTextValue ? 2 * pNode->wValueLength : pNode->wValueLength;
    if (pNode->nValue + pNode->nValueBytes > pNode->nEnd)
        return false;
    pNode->nChildren = AlignDword(pNode->nValue + pNode->nValueBytes);
    return true;
}

bool FindChild(const QByteArray& block, const NodeView& parent, const QString& strKey, NodeView* pChild)
{
    int nPos = parent.nChildren;
    while (nPos + kHeaderBytes <= parent.nEnd) {
        if (!ReadNode(block, nPos, parent.nEnd, pChild))
            return false;
        if (pChild->strKey.compare(strKey, Qt::CaseInsensitive) == 0)
            return true;
        nPos = AlignDword(pChild->nEnd);
    }
    return false;
}

// ---- the ELF section ----

bool ReadAt(QFile* pFile, qint64 nOffset, void* pData, qint64 nBytes)
{
    return nOffset >= 0 && pFile->seek(nOffset) && pFile->read(static_cast<char*>(pData), nBytes) == nBytes;
}

// Where the version section lies in the file, for one ELF class.
template <typename Ehdr, typename Shdr>
bool FindVersionSection(QFile* pFile, qint64* pOffset, qint64* pSize)
{
    Ehdr header;
    if (!ReadAt(pFile, 0, &header, sizeof(header)))
        return false;
    if (header.e_shentsize != sizeof(Shdr) || header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum)
        return false;
    QVector<Shdr> sections(header.e_shnum);
    if (!ReadAt(pFile, static_cast<qint64>(header.e_shoff), sections.data(),
                static_cast<qint64>(sizeof(Shdr)) * header.e_shnum))
        return false;
    const Shdr& nameTable = sections[header.e_shstrndx];
    if (nameTable.sh_size == 0 || static_cast<qint64>(nameTable.sh_size) > kMaxSectionNameTable)
        return false;
    QByteArray names(static_cast<qsizetype>(nameTable.sh_size), '\0');
    if (!ReadAt(pFile, static_cast<qint64>(nameTable.sh_offset), names.data(), names.size()))
        return false;
    names.append('\0');  // a table that does not end in NUL still ends
    const qint64 nFileSize = pFile->size();
    for (const Shdr& section : sections) {
        if (section.sh_type == SHT_NOBITS || section.sh_name >= static_cast<quint64>(names.size()))
            continue;
        if (std::strcmp(names.constData() + section.sh_name, kVersionSectionName) != 0)
            continue;
        const auto nOffset = static_cast<qint64>(section.sh_offset);
        const auto nSize = static_cast<qint64>(section.sh_size);
        if (nSize <= 0 || nSize > kMaxBlockBytes || nOffset < 0 || nOffset > nFileSize - nSize)
            return false;
        *pOffset = nOffset;
        *pSize = nSize;
        return true;
    }
    return false;
}

// The version block of an ELF file in the byte order of this machine.
bool ReadVersionSection(const QString& strPath, QByteArray* pBlock)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    unsigned char ident[EI_NIDENT];
    if (!ReadAt(&file, 0, ident, EI_NIDENT) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return false;
    const unsigned char nativeData = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? ELFDATA2LSB : ELFDATA2MSB;
    if (ident[EI_DATA] != nativeData)
        return false;
    qint64 nOffset = 0;
    qint64 nSize = 0;
    bool bFound = false;
    if (ident[EI_CLASS] == ELFCLASS64)
        bFound = FindVersionSection<Elf64_Ehdr, Elf64_Shdr>(&file, &nOffset, &nSize);
    else if (ident[EI_CLASS] == ELFCLASS32)
        bFound = FindVersionSection<Elf32_Ehdr, Elf32_Shdr>(&file, &nOffset, &nSize);
    if (!bFound)
        return false;
    QByteArray block(static_cast<qsizetype>(nSize), '\0');
    if (!ReadAt(&file, nOffset, block.data(), nSize))
        return false;
    // The section is the root node; anything after its wLength is alignment.
    NodeView root;
    if (!ReadNode(block, 0, block.size(), &root))
        return false;
    block.truncate(root.nEnd);
    *pBlock = block;
    return true;
}

}  // namespace

QByteArray BuildVersionBlock(const VersionBlockContents& contents)
{
    Node root;
    root.strKey = QStringLiteral("VS_VERSION_INFO");
    root.value = FixedFileInfo(contents);
    root.wValueLength = static_cast<WORD>(root.value.size());

    if (!contents.translations.isEmpty()) {
        Node table;
        table.strKey = TranslationKey(contents.translations.first().first, contents.translations.first().second);
        table.wType = kTextValue;
        for (const auto& [strName, strValue] : contents.strings)
            table.children.append(TextNode(strName, strValue));
        Node stringInfo;
        stringInfo.strKey = QStringLiteral("StringFileInfo");
        stringInfo.wType = kTextValue;
        stringInfo.children.append(table);
        root.children.append(stringInfo);
    }

    Node translation;
    translation.strKey = QStringLiteral("Translation");
    for (const auto& [wLanguage, wCodePage] : contents.translations)
        AppendDword(&translation.value, (DWORD(wCodePage) << 16) | wLanguage);
    translation.wValueLength = static_cast<WORD>(translation.value.size());
    Node varInfo;
    varInfo.strKey = QStringLiteral("VarFileInfo");
    varInfo.wType = kTextValue;
    varInfo.children.append(translation);
    root.children.append(varInfo);

    return EncodeNode(root);
}

DWORD GetFileVersionInfoSizeW(const QString& strPath)
{
    QByteArray block;
    return ReadVersionSection(strPath, &block) ? static_cast<DWORD>(block.size()) : 0;
}

BOOL GetFileVersionInfoW(const QString& strPath, DWORD dwLen, QByteArray* pData)
{
    QByteArray block;
    if (!ReadVersionSection(strPath, &block))
        return FALSE;
    if (static_cast<DWORD>(block.size()) > dwLen)
        block.truncate(static_cast<qsizetype>(dwLen));
    *pData = block;
    return TRUE;
}

BOOL VerQueryValueW(const QByteArray& block, const QString& strSubBlock, const char** ppValue, UINT* puLen)
{
    NodeView node;
    if (!ReadNode(block, 0, block.size(), &node))
        return FALSE;
    const QStringList keys = strSubBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& strKey : keys) {
        NodeView child;
        if (!FindChild(block, node, strKey, &child))
            return FALSE;
        node = child;
    }
    *ppValue = block.constData() + node.nValue;
    *puLen = static_cast<UINT>(node.wValueLength);
    return TRUE;
}
