// One window per executable: a second launch asks the first to come to the front.
#include "app/CSingleInstance.h"
#include <QSignalSpy>
#include <QtTest>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondLaunchAsksTheFirst();
    void otherExecutablesRunSideBySide();
};

void TestSingleInstance::secondLaunchAsksTheFirst()
{
    const QString path = QStringLiteral("/tmp/quillday-test/%1/bin/quillday").arg(QCoreApplication::applicationPid());
    CSingleInstance first(path);
    QVERIFY(first.Claim());
    QSignalSpy spy(&first, &CSingleInstance::activateRequested);
    CSingleInstance second(path);
    QCOMPARE(second.GetServerName(), first.GetServerName());
    QVERIFY(!second.Claim());
    QTRY_COMPARE(spy.count(), 1);
}

void TestSingleInstance::otherExecutablesRunSideBySide()
{
    const QString base = QStringLiteral("/tmp/quillday-test/%1/").arg(QCoreApplication::applicationPid());
    CSingleInstance first(base + QStringLiteral("a/quillday"));
    CSingleInstance second(base + QStringLiteral("b/quillday"));
    QVERIFY(first.GetServerName() != second.GetServerName());
    QVERIFY(first.Claim());
    QVERIFY(second.Claim());
}

QTEST_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
