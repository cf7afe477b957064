#include "tests/support/CSmallDisk.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const char kFiller[] = ".filler";

}  // namespace

CSmallDisk::CSmallDisk(int nKiB)
{
    const QByteArray options = "size=" + QByteArray::number(nKiB) + "k,mode=0755";
    m_bMounted = m_dir.isValid()
              && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

CSmallDisk::~CSmallDisk()
{
    if (m_bMounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool CSmallDisk::Fill()
{
    const int fd = ::open(QFile::encodeName(FilePath(QString::fromLatin1(kFiller))).constData(),
                          O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return false;
    static const char block[4096] = {};
    // Whole blocks, then single bytes for the rest of the last page.
    for (size_t nSize : {sizeof(block), size_t(1)}) {
        while (::write(fd, block, nSize) > 0) {
        }
    }
    const bool bFull = errno == ENOSPC;
    ::close(fd);
    return bFull;
}

void CSmallDisk::Unfill()
{
    QFile::remove(FilePath(QString::fromLatin1(kFiller)));
}

bool CSmallDisk::SetReadOnly(bool bReadOnly)
{
    const unsigned long nFlags = MS_REMOUNT | (bReadOnly ? MS_RDONLY : 0);
    return m_bMounted && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", nFlags, nullptr) == 0;
}
