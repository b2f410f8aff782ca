// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The built program as a process: a second start ends at once, a lock left
// behind by a killed instance does not block the next start, and a start
// without any display ends with status 1 and says why.

#include <QtTest>

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

qint64 lockOwner(const QString& path)
{
    qint64 pid = -1;
    QString host;
    QString app;
    if (!QLockFile(path).getLockInfo(&pid, &host, &app))
        return -1;
    return pid;
}

}  // namespace

class SingleInstanceProcessTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartEndsAndKilledLockIsTakenOver();
    void noDisplayEndsWithStatusOne();

private:
    void start(QProcess& p, const QString& runtimeDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QStringLiteral(POKOPIN_EXE), {});
        QVERIFY(p.waitForStarted(10000));
    }
};

void SingleInstanceProcessTest::secondStartEndsAndKilledLockIsTakenOver()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    const QString lockPath = runtime.filePath(QStringLiteral("pokopin.lock"));

    QProcess first;
    start(first, runtime.path());
    QTRY_COMPARE_WITH_TIMEOUT(lockOwner(lockPath), first.processId(), 20000);

    QProcess second;
    start(second, runtime.path());
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(lockOwner(lockPath), first.processId());

    first.kill();  // SIGKILL: no chance to remove its lock
    QVERIFY(first.waitForFinished(10000));
    QVERIFY(QFile::exists(lockPath));

    QProcess third;
    start(third, runtime.path());
    QTRY_COMPARE_WITH_TIMEOUT(lockOwner(lockPath), third.processId(), 20000);
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    QVERIFY(third.waitForFinished(10000));
}

void SingleInstanceProcessTest::noDisplayEndsWithStatusOne()
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(POKOPIN_EXE), {});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);  // not the toolkit's abort
    QCOMPARE(p.exitCode(), 1);
    const QStringList lines =
        QString::fromLocal8Bit(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(QStringLiteral("DISPLAY")), qPrintable(lines.first()));
}

QTEST_GUILESS_MAIN(SingleInstanceProcessTest)
#include "single_instance_process_test.moc"
