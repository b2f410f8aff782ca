// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <utility>

#include "about_dialog.h"
#include "key_repeat.h"
#include "sdl_sound.h"

namespace pokopin::app {
namespace {

// A first frame that never comes (a window that is never exposed) still gets
// its sound after this long.
constexpr int kFirstFrameWaitMs = 1000;

// Calls back once, from the event loop, after the watched widget's first
// paint: by then the whole frame has been drawn and handed to the screen.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> then)
        : QObject(widget), then_(std::move(then))
    {
        widget->installEventFilter(this);
        QTimer::singleShot(kFirstFrameWaitMs, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { fire(); });
        }
        return false;
    }

private:
    void fire()
    {
        if (then_)
            std::exchange(then_, {})();
        deleteLater();
    }

    std::function<void()> then_;
};

}  // namespace

Program::Program(DataFolders folders, QString lockPath)
    : folders_(std::move(folders)), instance_(std::move(lockPath))
{}

Program::~Program()
{
    delete title_.data();  // only when the program ends before the handover
}

int Program::run()
{
    switch (instance_.acquire()) {
        case SingleInstance::Outcome::Held:
            break;
        case SingleInstance::Outcome::RunningElsewhere:
            return 0;
        case SingleInstance::Outcome::NoLock:
            // The lock only keeps a second copy away; the game needs none.
            std::fprintf(stderr, "pokopin: no single-instance lock (%s); playing without it\n",
                         qPrintable(instance_.problem()));
            break;
    }
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
    sound_ = std::make_unique<audio::DeferredSound>(
        [data = folders_.data] { return std::make_unique<audio::SdlSound>(data); });
    main_ = std::make_unique<ui::MainWindow>(
        game::Services{*sound_, clock_, random_, pause_, files_, scoreLog_, shell_, dialogs_},
        folders_.files(), [](QWidget* owner) -> std::unique_ptr<QDialog> {
            return std::make_unique<AboutDialog>(owner);
        });
    dialogs_.setOwner(main_.get());
    QObject::connect(main_.get(), &ui::MainWindow::shown, qApp, [this] { closeTitle(); });
    QObject::connect(main_.get(), &ui::MainWindow::exitConfirmed, qApp,
                     [] { QCoreApplication::exit(0); });
    QObject::connect(main_.get(), &ui::MainWindow::closed, qApp, [] { QCoreApplication::exit(0); });
    // The window's icon goes to the window manager in a property sized for
    // every icon size, each decoded first; the title bar can wait for it.
    windowIcon_ = main_->windowIcon();
    main_->setWindowIcon(QIcon());
    new FirstPaintWatch(main_.get(), [this] { afterFirstFrame(); });
    main_->load();
}

void Program::afterFirstFrame()
{
    if (main_)
        main_->setWindowIcon(windowIcon_);
    sound_->open();
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

}  // namespace pokopin::app
