#include <QApplication>

#include "program.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pokopin"));
    // The program ends when the main window closes or the player exits; a
    // message box closing before the main window is up must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    pokopin::app::Program program(QCoreApplication::applicationDirPath().toStdString());
    return program.run();
}
