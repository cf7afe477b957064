#pragma once
// A registry file of its own in a temporary folder for each test, with its text at hand.
#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("quillday/registry.reg"));
        SetRegistryPath(m_path);
    }
    void TearDown() override { SetRegistryPath(QString()); }
    void WriteRegistry(const QByteArray& valueLines)
    {
        QDir().mkpath(QFileInfo(m_path).path());
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n" + valueLines);
    }
    QByteArray RegistryText() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_path;
};
