#pragma once
// What the sheet tests share: a registry file of their own, the program's strings, a
// main window of the handheld's size to cover, and pictures of what was shown.
#include "platform/RegistryFile.h"
#include "resources/StringTable.h"
#include "week/AgendaSettings.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

class CSheetFixture {
public:
    CSheetFixture()
    {
        m_strRegistryPath = m_dir.filePath(QStringLiteral("registry.reg"));
        SetRegistryPath(m_strRegistryPath);
        LoadResourceStringsFrom(&m_strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/orlith.inf"));
        m_pMainWindow = std::make_unique<QWidget>();
        m_pMainWindow->setGeometry(0, 0, 240, 320);
    }
    ~CSheetFixture() { SetRegistryPath(QString()); }

    // Replaces the registry file with these value lines under the program's key.
    bool WriteRegistry(const QByteArray& valueLines) const
    {
        QFile file(m_strRegistryPath);
        return file.open(QIODevice::WriteOnly)
               && file.write("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"
                             + valueLines)
                      > 0;
    }
    QByteArray RegistryText() const
    {
        QFile file(m_strRegistryPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The settings as start-up reads them.
    AgendaSettings LoadSettings() const
    {
        AgendaSettings settings;
        settings.Load();
        return settings;
    }

    const StringTable& Strings() const { return m_strings; }
    QWidget* MainWindow() const { return m_pMainWindow.get(); }

    static QImage Shot(QWidget* pWidget, const QString& name)
    {
        const QImage image = pWidget->grab().toImage();
        const QString dir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
        if (!dir.isEmpty() && QDir().mkpath(dir))
            image.save(QDir(dir).filePath(name), "PNG");
        return image;
    }

private:
    QTemporaryDir m_dir;
    QString m_strRegistryPath;
    StringTable m_strings;
    std::unique_ptr<QWidget> m_pMainWindow;
};
