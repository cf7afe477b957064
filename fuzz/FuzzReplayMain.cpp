// Replays inputs through a fuzz target without libFuzzer: every file named on the command
// line, and every file below every folder named there, in name order. A target that
// finds a fault aborts, which fails the test that runs this.
#include "fuzz/FuzzTarget.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace {

QStringList InputFiles(const QString& strPath)
{
    if (QFileInfo(strPath).isFile())
        return {strPath};
    QStringList files;
    QDirIterator it(strPath, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    int nInputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString strPath = QFile::decodeName(argv[i]);
        if (!QFileInfo::exists(strPath)) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
        for (const QString& strFile : InputFiles(strPath)) {
            QFile file(strFile);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(strFile));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(strFile));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
            ++nInputs;
        }
    }
    std::printf("replayed %d inputs\n", nInputs);
    return 0;
}
