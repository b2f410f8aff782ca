#pragma once

// The main window: board, holes, side panel, labels, menus and timers. It
// holds no rule of the game: every click, key, menu command, menu opening and
// timer tick goes to the handler of the same name in game::MainLogic, and
// render() then shows what the logic's controls say.

#include <QImage>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "main_logic.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace pokopin::ui {

class HoleBox;
class PictureBox;

// Makes the version dialog, owned by `owner`, the first time it is needed.
using AboutFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;

class frmMain : public QMainWindow, private game::Host, private game::Pause {
    Q_OBJECT
public:
    // The window carries out the window operations that the logic orders
    // (repaint, show, focus, closing the version dialog) and then passes each
    // of them on to services.host, which handles what lies outside the window
    // (the title window, the end of the program). Likewise the window brings
    // the screen up to date before services.pause blocks.
    frmMain(game::Services services, std::string programFolder, AboutFactory makeAbout,
            QWidget* parent = nullptr);
    ~frmMain() override;

    game::MainLogic& logic() { return logic_; }
    const game::MainLogic& logic() const { return logic_; }

    void Form_Load();
    void mnuVer_Click();

    // Shows the logic's controls: hole pictures, labels, menu states, the
    // side panel and the timers.
    void render();

    HoleBox* picMaru(int index) const { return picMaru_.at(static_cast<std::size_t>(index)); }
    const QPixmap& picMogu(int k) const { return picMogu_.at(static_cast<std::size_t>(k)); }
    QWidget* picHontai() const;
    QWidget* picMenu() const;
    // What the side panel shows, with everything painted into it.
    const QImage& panelImage() const { return panel_; }
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
    game::MainLogic logic_;

    std::array<QPixmap, 4> picMogu_;
    std::array<QImage, 8> picLebel_;
    QImage board_;
    QImage pristinePanel_;
    QImage panel_;
    std::uint32_t panelPaints_ = 0;

    PictureBox* picHontai_ = nullptr;
    PictureBox* picMenu_ = nullptr;
    std::array<HoleBox*, game::kHoles> picMaru_{};
    std::array<QLabel*, 2> lblRec_{};
    std::array<QLabel*, 8> lblTime_{};
    QLabel* lblKosuu_ = nullptr;
    QLabel* lblHit_ = nullptr;
    QLabel* lblMiss_ = nullptr;
    QLabel* lblMainScore_ = nullptr;

    QMenu* mnuGame_ = nullptr;
    QAction* mnuKaisi_ = nullptr;
    QAction* mnuChuudan_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QMenu* mnuOption_ = nullptr;
    std::array<QAction*, 4> mnuOptionMode_{};
    QMenu* mnuScore_ = nullptr;
    std::array<QAction*, 2> mnuScoreSave_{};
    QAction* mnuScoreText_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuHelptxt_ = nullptr;
    QAction* mnuVer_ = nullptr;

    QTimer* timMidi_ = nullptr;
    QTimer* timTitleMidi_ = nullptr;
    QTimer* timStart_ = nullptr;
    QTimer* timKesu_ = nullptr;
    QTimer* timNokori_ = nullptr;

    std::unique_ptr<QDialog> about_;
    bool ended_ = false;
};

}  // namespace pokopin::ui
