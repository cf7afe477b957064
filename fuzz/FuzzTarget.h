#pragma once
// What every fuzz target shares. A target is one source file that defines
// LLVMFuzzerTestOneInput; with clang it links against libFuzzer, in the normal build
// against FuzzReplayMain.cpp, which feeds it the files of its corpus folders.
//
// A target checks what must hold for every input and calls FuzzFailure (which aborts)
// where it does not, so that libFuzzer keeps the input as a finding.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

class CPimStore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

// Stops the run with the text on standard error.
[[noreturn]] void FuzzFailure(const char* pszWhat);
inline void FuzzCheck(bool bHolds, const char* pszWhat)
{
    if (!bHolds)
        FuzzFailure(pszWhat);
}

// A folder of this process for files a target must hand to a reader (on /dev/shm when
// there is one), created once and removed at exit.
QString FuzzFolder();
// Writes the bytes to a file of that folder and returns its path.
QString FuzzWriteFile(const char* pszName, const QByteArray& bytes);
// One of two stores of this process in memory (0 or 1), emptied for each input: a new one
// each time costs more than most inputs' work.
std::shared_ptr<CPimStore> FuzzEmptyStore(int nWhich);
