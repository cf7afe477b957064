#pragma once
// A file system of a few hundred KiB of its own (tmpfs), for tests of a full disk and of a
// read-only one. Mounting takes root's rights: IsMounted() tells whether it worked, and
// tests skip without it. Unmounted (lazily, so open files do not hold it) when destroyed.
#include <QString>
#include <QTemporaryDir>

class CSmallDisk {
public:
    explicit CSmallDisk(int nKiB);
    ~CSmallDisk();
    CSmallDisk(const CSmallDisk&) = delete;
    CSmallDisk& operator=(const CSmallDisk&) = delete;

    bool IsMounted() const { return m_bMounted; }
    QString FilePath(const QString& strName) const { return m_dir.filePath(strName); }
    // Fills what room is left with one file, so that the next write finds the disk full.
    bool Fill();
    // Gives back the room Fill took.
    void Unfill();
    // Mounts it again read-only (or writable again): every write fails with EROFS.
    bool SetReadOnly(bool bReadOnly);

private:
    QTemporaryDir m_dir;
    bool m_bMounted = false;
};
