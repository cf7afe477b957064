#pragma once
// One named text of a file's version block (platform/VersionInfo.h), in the first
// translation the block declares.
#include "platform/WinTypes.h"
#include <QString>

// TRUE when the file's version block could be read and declares at least one translation;
// *pValue then holds the named text, or is empty when the block lacks it. FALSE otherwise,
// with *pValue emptied. The file is only read, never run or loaded.
BOOL GetVersionString(const QString& strPath, const QString& strName, QString* pValue);

// The query of a named text under a translation: "\StringFileInfo\041204B0\ProductVersion"
// for language 0x0412, code page 0x04B0 (four upper-case hexadecimal digits each).
QString VersionStringQuery(uint16_t wLanguage, uint16_t wCodePage, const QString& strName);
