// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window: board, holes, side panel, labels, menus and timers. It
// holds no rule of the game: every click, key, menu command, menu opening and
// timer tick goes to its handler in game::Game, and render() then shows what
// the game's controls say.

#include <QImage>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game.h"
#include "mode_panel.h"
#include "modes.h"
#include "picture_box.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace pokopin::ui {

// Makes the version dialog, owned by `owner`, the first time it is needed.
using AboutFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;

class MainWindow : public QMainWindow, private game::Host, private game::Pause {
    Q_OBJECT
public:
    // The window carries out the window operations that the logic orders
    // (repaint, show, focus, closing the version dialog) and then passes each
    // of them on to services.host, which handles what lies outside the window
    // (the title window, the end of the program). Likewise the window brings
    // the screen up to date before services.pause blocks.
    MainWindow(game::Services services, game::Folders folders, AboutFactory makeAbout,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    game::Game& logic() { return logic_; }
    const game::Game& logic() const { return logic_; }

    void load();
    void showAboutDialog();

    // Shows the logic's controls: hole pictures, labels, menu states, the
    // side panel and the timers.
    void render();

    HoleBox* holes(int index) const { return holes_.at(static_cast<std::size_t>(index)); }
    const Picture& holePicture(int k) const
    {
        return holePictures_.at(static_cast<std::size_t>(k));
    }
    QWidget* boardBox() const;
    QWidget* panelBox() const;
    // What the side panel shows, with everything painted into it: at its
    // layout size, and at twice that for finer screens.
    const QImage& panelImage() const { return panel_.normal(); }
    const QImage& finePanelImage() const { return panel_.fine(); }
    QDialog* about() const { return about_.get(); }
    // True once the program has been ended or the window closed: no handler
    // runs any more.
    bool ended() const { return ended_; }

signals:
    // The window has closed and run its unload handler.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void repaintMain() override;
    void showMain() override;
    void closeTitle() override;
    void focusBoard() override;
    void closeAbout() override;
    void endProgram() override;
    void pause(int milliseconds) override;

    template <class Handler>
    void handle(Handler&& handler);
    void buildBoard(QWidget* client);
    void buildPanel(QWidget* client);
    void buildMenus();
    void buildTimers();
    void renderPanel();
    void renderTimers();
    void stopTimers();

    game::Host& outerHost_;
    game::Pause& outerPause_;
    AboutFactory makeAbout_;
    game::Game logic_;

    std::array<Picture, 4> holePictures_;
    // The mode labels at the pictures' own sizes: for the panel and for the
    // twice-size panel.
    struct ModeLabelPictures {
        Picture mask;
        Picture image;
    };
    std::array<ModeLabelPictures, game::kModes.size()> modeLabels_;
    int paintedMode_ = -1;  // the mode whose label the panel shows
    Picture board_;
    Picture pristinePanel_;
    Picture panel_;
    std::uint32_t panelPaints_ = 0;

    PictureBox* boardBox_ = nullptr;
    PictureBox* panelBox_ = nullptr;
    std::array<HoleBox*, game::kHoles> holes_{};
    std::array<QLabel*, 2> recordLabels_{};
    std::array<QLabel*, 8> timeLabels_{};
    QLabel* moleCountLabel_ = nullptr;
    QLabel* hitCountLabel_ = nullptr;
    QLabel* missCountLabel_ = nullptr;
    QLabel* scoreLabel_ = nullptr;

    QMenu* gameMenu_ = nullptr;
    QAction* startAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    std::array<QAction*, 4> modeActions_{};
    QMenu* scoreMenu_ = nullptr;
    std::array<QAction*, 2> recordActions_{};
    QAction* scoreLogAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    QTimer* musicTimer_ = nullptr;
    QTimer* titleRestartTimer_ = nullptr;
    QTimer* spawnerTimer_ = nullptr;
    QTimer* retreatTimer_ = nullptr;
    QTimer* clockTimer_ = nullptr;

    std::unique_ptr<QDialog> about_;
    bool ended_ = false;
};

}  // namespace pokopin::ui
