// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window: board, holes, side panel, labels, menus and timers. It
// holds no rule of the game: every click, key, menu command, menu opening and
// timer tick goes to its handler in game::Game, and render() then shows the
// window's states as game::viewOf() draws them from the game.

#include <QImage>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "game.h"
#include "mode_panel.h"
#include "modes.h"
#include "picture_box.h"
#include "score_history_entry.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace pokopin::ui {

// Makes the version dialog, owned by `owner`, the first time it is needed.
using AboutFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The window is the game's host: it repaints when the rules ask, and
    // when the player confirms the exit it stops and says so by
    // exitConfirmed(), for whoever runs the program to end it.
    MainWindow(game::Services services, game::GameFiles files, AboutFactory makeAbout,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    game::Game& logic() { return logic_; }
    const game::Game& logic() const { return logic_; }

    // Runs the game's start-up, then comes up centred on the screen with the
    // keyboard focus on the board.
    void load();
    void showAboutDialog();
    // Opens the score history on the current mode, or raises it. Says so
    // when the history cannot be shown.
    void openHistory();
    // The history window once it has been opened; null before.
    QWidget* historyWindow() const;

    // Shows the game: hole pictures, labels, menu states, the side panel
    // and the timers.
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
    // Start-up has shown the window: whatever stood in for it (the title
    // card) can go.
    void shown();
    // The player confirmed the exit: no handler runs any more.
    void exitConfirmed();
    // The window has closed and run its unload handler.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The window as the rules see it.
    class GameHost : public game::Host {
    public:
        explicit GameHost(MainWindow& window) : window_(window) {}
        void repaint() override;
        void endProgram() override;

    private:
        MainWindow& window_;
    };

    template <class Handler>
    void handle(Handler&& handler);
    void buildBoard(QWidget* client);
    void buildPanel(QWidget* client);
    void buildMenus();
    void buildTimers();
    void renderPanel(int mode);
    void renderTimers(const game::WindowView& view);
    void renderHistory();
    void stopTimers();

    AboutFactory makeAbout_;
    GameHost host_{*this};
    game::Game logic_;

    std::array<Picture, 4> holePictures_;
    // The mode labels at the pictures' own sizes: for the panel and for the
    // twice-size panel.
    struct ModeLabelPictures {
        Picture mask;
        Picture image;
    };
    std::array<ModeLabelPictures, game::kModes.size()> modeLabels_;
    int paintedMode_ = game::kNoMode;  // the mode whose label the panel shows
    Picture board_;
    Picture pristinePanel_;
    Picture panel_;

    PictureBox* boardBox_ = nullptr;
    PictureBox* panelBox_ = nullptr;
    std::array<HoleBox*, game::kHoles> holes_{};
    std::array<QLabel*, 2> recordLabels_{};
    std::array<QLabel*, 8> timeLabels_{};
    QLabel* moleCountLabel_ = nullptr;
    QLabel* hitCountLabel_ = nullptr;
    QLabel* missCountLabel_ = nullptr;
    QLabel* scoreLabel_ = nullptr;
    QWidget* modeNode_ = nullptr;  // the mode's label, for assistive tools

    QMenu* gameMenu_ = nullptr;
    QAction* startAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    std::array<QAction*, 4> modeActions_{};
    QMenu* scoreMenu_ = nullptr;
    std::array<QAction*, 2> recordActions_{};
    QAction* scoreLogAction_ = nullptr;
    QAction* historyAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    QTimer* musicTimer_ = nullptr;
    QTimer* titleRestartTimer_ = nullptr;
    QTimer* spawnerTimer_ = nullptr;
    QTimer* retreatTimer_ = nullptr;
    QTimer* clockTimer_ = nullptr;

    std::unique_ptr<QDialog> about_;
    // Made on the first opening: until then the history costs nothing.
    std::unique_ptr<history::ScoreHistory> history_;
    std::uint32_t entriesSeen_ = 0;  // the game's entriesRecorded the history has read
    bool ended_ = false;
};

}  // namespace pokopin::ui
