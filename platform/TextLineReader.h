#pragma once
// Reads the program's UTF-16LE or ANSI-code-page text files line by line with the
// device's rules: a U+FEFF byte-order mark selects UTF-16LE, anything else is the ANSI
// code page (the locale's character set, or QUILLDAY_ACP); each read returns at most
// 254 code units (bytes in ANSI) of a line, so longer lines come back in pieces; up to two
// trailing CR or LF characters are removed from each piece.
#include <QString>
#include <memory>

class CTextLineReader {
public:
    CTextLineReader();
    ~CTextLineReader();
    CTextLineReader(const CTextLineReader&) = delete;
    CTextLineReader& operator=(const CTextLineReader&) = delete;

    // False when the file cannot be opened for reading.
    bool Open(const QString& path);
    void Close();
    bool IsUtf16() const;
    // The next piece with its line end removed; false at the end of the file.
    bool ReadLine(QString* pLine);

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
