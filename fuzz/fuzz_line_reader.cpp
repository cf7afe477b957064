// The shared line reader of the data files, in each code page it may meet: the input's
// length picks the code page, so the shipped data files are seeds as they are.
#include "fuzz/FuzzTarget.h"
#include "platform/TextLineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static const char* const kCodePages[] = {"UTF-8", "CP949", "CP1252", "EUC-KR", "SHIFT_JIS", "ISO-8859-1", "UTF-16LE"};
    qputenv("QUILLDAY_ACP", kCodePages[nSize % (sizeof(kCodePages) / sizeof(kCodePages[0]))]);
    const QString strPath =
        FuzzWriteFile("lines.txt", QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize)));
    CTextLineReader reader;
    FuzzCheck(reader.Open(strPath), "an existing file opens");
    QString strLine;
    size_t nPieces = 0;
    while (reader.ReadLine(&strLine)) {
        FuzzCheck(strLine.size() <= 254, "a piece holds at most 254 units");
        FuzzCheck(++nPieces <= nSize + 1, "every piece uses up input");
    }
    return 0;
}
