// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Which display the program starts on, given the environment, the options and
// which displays answer; and the built program started on a display that is
// named but not there.

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

#include "display_check.h"

class DisplayCheckTest : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void unreachableDisplayEndsWithStatusOne();
};

void DisplayCheckTest::choice_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("answering");  // X names and Wayland socket paths
    QTest::addColumn<QString>("platform");       // handed to the toolkit; "" its own choice
    QTest::addColumn<QStringList>("said");       // the error names all of these; {} none

    const QString rt = QStringLiteral("XDG_RUNTIME_DIR=/run/u");
    const QString x = QStringLiteral("DISPLAY=:5");
    const QString w = QStringLiteral("WAYLAND_DISPLAY=wl-1");
    const QString wSocket = QStringLiteral("/run/u/wl-1");
    const QStringList none;

    QTest::newRow("X answers") << QStringList{x} << none << QStringList{":5"} << "" << none;
    QTest::newRow("X silent") << QStringList{x} << none << none << "" << QStringList{":5"};
    QTest::newRow("nothing set") << none << none << none << ""
                                 << QStringList{"neither DISPLAY nor WAYLAND_DISPLAY"};
    const QStringList empty{"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", rt};
    QTest::newRow("empty values") << empty << none << none << ""
                                  << QStringList{"DISPLAY is empty", "WAYLAND_DISPLAY is empty"};
    QTest::newRow("Wayland silent, X answers")
        << QStringList{x, w, rt} << none << QStringList{":5"} << "xcb" << none;
    QTest::newRow("X silent, Wayland answers")
        << QStringList{x, w, rt} << none << QStringList{wSocket} << "" << none;
    QTest::newRow("both silent") << QStringList{x, w, rt} << none << none << ""
                                 << QStringList{"wl-1", ":5"};
    QTest::newRow("Wayland session: wayland-0")
        << QStringList{"XDG_SESSION_TYPE=wayland", rt} << none << QStringList{"/run/u/wayland-0"}
        << "" << none;
    QTest::newRow("Wayland session without a socket, X answers")
        << QStringList{"XDG_SESSION_TYPE=wayland", x, rt} << none << QStringList{":5"} << "xcb"
        << none;
    QTest::newRow("X session type does not hide Wayland")
        << QStringList{"XDG_SESSION_TYPE=x11", x, w, rt} << none << QStringList{wSocket} << ""
        << none;
    QTest::newRow("socket handed over")
        << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_SOCKET=3"} << none << none << ""
        << none;
    QTest::newRow("absolute WAYLAND_DISPLAY")
        << QStringList{"WAYLAND_DISPLAY=/tmp/w/s"} << none << QStringList{"/tmp/w/s"} << "" << none;
    QTest::newRow("relative WAYLAND_DISPLAY without XDG_RUNTIME_DIR")
        << QStringList{w} << none << QStringList{"wl-1", "/wl-1"} << ""
        << QStringList{"wl-1", "XDG_RUNTIME_DIR is not set", "DISPLAY is not set"};
    QTest::newRow("offscreen needs no display")
        << QStringList{"QT_QPA_PLATFORM=offscreen", x} << none << none << "" << none;
    QTest::newRow("-platform over a silent X")
        << QStringList{x} << QStringList{"-platform", "minimal"} << none << "" << none;
    QTest::newRow("--platform over QT_QPA_PLATFORM")
        << QStringList{"QT_QPA_PLATFORM=offscreen", x} << QStringList{"--platform", "xcb"} << none
        << "" << QStringList{":5", "-platform xcb"};
    QTest::newRow("platform as a value")
        << none << QStringList{"platform", "offscreen"} << none << ""
        << QStringList{"neither DISPLAY nor WAYLAND_DISPLAY"};
    QTest::newRow("-platform without a value")
        << QStringList{x} << QStringList{"-platform"} << none << "" << QStringList{":5"};
    QTest::newRow("QT_QPA_PLATFORM=xcb keeps off Wayland")
        << QStringList{"QT_QPA_PLATFORM=xcb", x, w, rt} << none << QStringList{wSocket} << ""
        << QStringList{":5", "QT_QPA_PLATFORM=xcb"};
    QTest::newRow("wayland-egl keeps off X")
        << QStringList{"QT_QPA_PLATFORM=wayland-egl", x, w, rt} << none << QStringList{":5"} << ""
        << QStringList{"wl-1"};
    QTest::newRow("a list falls through to what answers")
        << QStringList{"QT_QPA_PLATFORM=xcb;wayland:opt;offscreen", x, w, rt} << none
        << QStringList{wSocket} << "wayland:opt;offscreen" << none;
    QTest::newRow("-display over DISPLAY")
        << QStringList{x} << QStringList{"-display", ":7"} << QStringList{":7"} << "" << none;
}

void DisplayCheckTest::choice()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, answering);
    QFETCH(QString, platform);
    QFETCH(QStringList, said);

    std::map<std::string, std::string> env;
    for (const QString& e : environment)
        env[e.section(u'=', 0, 0).toStdString()] = e.section(u'=', 1).toStdString();
    std::vector<std::string> args{"pokopin"};
    for (const QString& a : arguments)
        args.push_back(a.toStdString());
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    const auto answers = [&](const std::string& name) {
        return answering.contains(QString::fromStdString(name));
    };

    const pokopin::app::DisplayChoice choice =
        pokopin::app::chooseDisplay(static_cast<int>(args.size()), argv.data(),
                                    [&](const char* name) -> const char* {
                                        const auto it = env.find(name);
                                        return it == env.end() ? nullptr : it->second.c_str();
                                    },
                                    {answers, answers});

    const QString error = QString::fromStdString(choice.error);
    QCOMPARE(QString::fromStdString(choice.platform), platform);
    QCOMPARE(error.isEmpty(), said.isEmpty());
    QVERIFY2(!error.contains(u'\n'), qPrintable(error));
    for (const QString& part : said)
        QVERIFY2(error.contains(part), qPrintable(error));
}

void DisplayCheckTest::unreachableDisplayEndsWithStatusOne()
{
    // A display number that no server holds.
    int number = 55;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))
           || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    const QString display = QStringLiteral(":%1").arg(number);

    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(POKOPIN_EXE), {});
    QVERIFY(p.waitForFinished(20000));

    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);  // not the toolkit's abort
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(err.endsWith(u'\n') && err.count(u'\n') == 1, qPrintable(err));
    QVERIFY2(err.contains(display), qPrintable(err));
}

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "display_check_test.moc"
