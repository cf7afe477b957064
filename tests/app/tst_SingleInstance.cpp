// One window per executable: a second launch asks the first to come to the front.
#include "app/CSingleInstance.h"
#include <QSignalSpy>
#include <QtTest>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondLaunchAsksTheFirst();
    void otherExecutablesRunSideBySide();
    void secondLaunchAsksTheFirstToOpenAnItem();
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

void TestSingleInstance::secondLaunchAsksTheFirstToOpenAnItem()
{
    const QString path = QStringLiteral("/tmp/quillday-test/%1/c/quillday").arg(QCoreApplication::applicationPid());
    CSingleInstance first(path);
    QVERIFY(first.Claim());
    QSignalSpy raised(&first, &CSingleInstance::activateRequested);
    QSignalSpy opened(&first, &CSingleInstance::openRequested);
    CSingleInstance second(path);
    QVERIFY(!second.Claim(QStringLiteral("42@2026-03-10T09:00")));
    QTRY_COMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toString(), QStringLiteral("42@2026-03-10T09:00"));
    QCOMPARE(raised.count(), 1);
}

QTEST_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
