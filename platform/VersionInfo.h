#pragma once
// The version block of an executable file, read without running or loading the file.
//
// The block has the layout of the handheld platform's version resource: a tree of nodes,
// each { WORD wLength; WORD wValueLength; WORD wType; UTF-16 key with NUL; padding to 4
// bytes; value; padding to 4 bytes; children }, all little-endian. The root "VS_VERSION_INFO"
// holds the fixed file information; its children "StringFileInfo" (one table a translation,
// named like "041204B0", of text values) and "VarFileInfo" ("Translation": 32-bit entries,
// language in the low half and code page in the high half).
//
// On Linux the block lives in an ELF section of its own, kVersionSectionName, which the
// build fills from the one version number of the project (tools/versionblock).
#include "platform/WinTypes.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

typedef uint16_t WORD;
typedef unsigned int UINT;

inline constexpr char kVersionSectionName[] = ".quillday.version";
inline constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

// What goes into a block.
struct VersionBlockContents {
    WORD wFileVersion[4] = {0, 0, 0, 0};     // major, minor, patch, build
    WORD wProductVersion[4] = {0, 0, 0, 0};
    QList<QPair<WORD, WORD>> translations;   // (language, code page)
    QList<QPair<QString, QString>> strings;  // one string table, under the first translation
};

// The block in the version resource's binary layout.
QByteArray BuildVersionBlock(const VersionBlockContents& contents);

// GetFileVersionInfoSizeW: the size of the file's version block, 0 when the file cannot be
// read or has none.
DWORD GetFileVersionInfoSizeW(const QString& strPath);
// GetFileVersionInfoW: the block itself into *pData (dwLen bytes at most); FALSE when the
// file cannot be read or has none.
BOOL GetFileVersionInfoW(const QString& strPath, DWORD dwLen, QByteArray* pData);
// VerQueryValueW: the value at a backslash-separated path of keys in the block ("\" is the
// fixed information, "\VarFileInfo\Translation", "\StringFileInfo\041204B0\ProductName").
// *ppValue points into block; *puLen is the value length in bytes for a binary value and
// in UTF-16 units, terminator included, for a text value. Keys match without regard to
// letter case. FALSE when the path names no node.
BOOL VerQueryValueW(const QByteArray& block, const QString& strSubBlock, const char** ppValue, UINT* puLen);
