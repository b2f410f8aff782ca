#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "program.h"
#include "qt_services.h"

int main(int argc, char* argv[])
{
    // Without a display the toolkit would abort with advice to reinstall.
    const std::string missing = pokopin::app::missingDisplay(argc, argv, std::getenv);
    if (!missing.empty()) {
        std::fprintf(stderr, "pokopin: %s\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pokopin"));
    pokopin::app::installQtJapanese(app);
    // The program ends when the main window closes or the player exits; a
    // message box closing before the main window is up must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    pokopin::app::Program program(QCoreApplication::applicationDirPath().toStdString());
    return program.run();
}
