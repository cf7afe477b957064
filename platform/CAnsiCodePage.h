#pragma once
// The ANSI code page of the program's text files: QUILLDAY_ACP when set, else the
// character set of the locale (UTF-8 where the locale is plain ASCII). Converts byte
// pieces to UTF-16 through iconv, the way MultiByteToWideChar(CP_ACP) does on the device:
// a byte that does not convert becomes U+FFFD.
#include <QString>

class CAnsiCodePage {
public:
    CAnsiCodePage();
    ~CAnsiCodePage();
    CAnsiCodePage(const CAnsiCodePage&) = delete;
    CAnsiCodePage& operator=(const CAnsiCodePage&) = delete;

    // Opens the converter. An unknown code page falls back to UTF-8 with a warning on
    // standard error; false only when not even UTF-8 can be converted.
    bool Open();
    void Close();
    bool IsUtf8() const { return m_bUtf8; }
    QString Name() const { return m_strName; }

    // Converts *pnLength bytes. When bCut is set the bytes end in the middle of a line and
    // an unfinished character at their end is left out: *pnLength then tells how many
    // bytes were used, and the rest belongs to the next piece.
    QString Convert(const char* pBytes, int* pnLength, bool bCut);

    // The code page name this process uses (QUILLDAY_ACP or the locale's character set).
    static QString SystemCodePageName();

private:
    void* m_hIconv = nullptr;  // iconv_t
    bool m_bUtf8 = false;
    QString m_strName;
};
