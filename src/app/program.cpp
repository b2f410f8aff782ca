#include "program.h"

#include <QCoreApplication>
#include <QTimer>

#include "about_dialog.h"
#include "key_repeat.h"
#include "sdl_sound.h"

namespace pokopin::app {

Program::Program(std::string programFolder, QString lockPath)
    : programFolder_(std::move(programFolder)), instance_(std::move(lockPath))
{
}

Program::~Program()
{
    delete title_.data();  // only when the program ends before the handover
}

int Program::run()
{
    if (!instance_.acquire())
        return 0;
    preferDetectableKeyRepeat();
    title_ = new TitleWindow([this] { loadMain(); });
    title_->showCentred();
    return QCoreApplication::exec();
}

void Program::loadMain()
{
    // Ticks keep coming while the main window's start-up waits in its
    // greeting box; the window is already there by then.
    if (main_)
        return;
    sound_ = std::make_unique<audio::SdlSound>(programFolder_);
    main_ = std::make_unique<ui::MainWindow>(
        game::Services{*sound_, clock_, random_, pause_, files_, scoreLog_, shell_, dialogs_, *this},
        programFolder_,
        [](QWidget* owner) -> std::unique_ptr<QDialog> { return std::make_unique<AboutDialog>(owner); });
    dialogs_.setOwner(main_.get());
    QObject::connect(main_.get(), &ui::MainWindow::closed, qApp, [] { QCoreApplication::exit(0); });
    main_->load();
}

void Program::closeTitle()
{
    if (!title_)
        return;
    title_->timer()->stop();
    title_->hide();
    // This runs inside the title's own timer tick: destroy it once that
    // tick has returned.
    title_->deleteLater();
}

void Program::endProgram()
{
    QCoreApplication::exit(0);
}

}  // namespace pokopin::app
