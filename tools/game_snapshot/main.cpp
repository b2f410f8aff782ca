// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the real main window in the middle of a game and saves it as a
// picture, menu bar included:
//
//   game_snapshot OUT.png
//
// The window runs on scripted services (no sound, fixed clock, chosen random
// draws), so every run shows the same board: moles up in holes 0, 2 and 8,
// a whacked mole in hole 4, a miss mark in hole 6, the clock at 21 and the
// counters of one hit and one miss. The whack and the miss are mouse clicks
// on the hole widgets, so they take the window's own click path.

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <memory>

#include "fakes.h"
#include "main_window.h"
#include "picture_box.h"

namespace {

using pokopin::game::Hole;

const char* pictureName(Hole h)
{
    switch (h) {
        case Hole::Empty:
            return "empty";
        case Hole::Mole:
            return "mole";
        case Hole::Whacked:
            return "whacked";
        case Hole::Miss:
            return "miss";
    }
    return "?";
}

}  // namespace

int main(int argc, char* argv[])
{
    // Offscreen unless the caller asks for a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: game_snapshot OUT.png\n");
        return 2;
    }

    pokopin::testing::FakeWorld world;
    const std::string folder = "/pokopin";
    world.files.files.insert(folder + "/Score.txt");  // not a first run: no greeting

    pokopin::ui::MainWindow window(world.services(), pokopin::testing::filesIn(folder),
                                   [](QWidget* owner) { return std::make_unique<QDialog>(owner); });
    window.load();
    if (!window.isVisible()) {
        std::fprintf(stderr, "game_snapshot: start-up did not show the main window\n");
        return 1;
    }

    auto& logic = window.logic();
    logic.startItemChosen();
    // Easy mode raises a hole on its third draw.
    world.random.queueHoles({0, 0, 0, 4, 4, 4, 8, 8, 8, 2, 2, 2});
    for (int tick = 0; tick < 12; ++tick)
        logic.spawnerTick();
    for (int second = 0; second < 3; ++second)
        logic.clockTick();
    window.render();

    QTest::mouseClick(window.holes(4), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseClick(window.holes(6), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));

    // clang-format off
    const Hole expected[9] = {
        Hole::Mole,  Hole::Empty,   Hole::Mole,
        Hole::Empty, Hole::Whacked, Hole::Empty,
        Hole::Miss,  Hole::Empty,   Hole::Mole,
    };
    // clang-format on
    bool asExpected = logic.running();
    for (int k = 0; k < 9; ++k) {
        const Hole shown = logic.model().board[static_cast<std::size_t>(k)];
        const bool onScreen =
            window.holes(k)->picture() == &window.holePicture(static_cast<int>(shown));
        std::printf("hole %d: %s%s\n", k, pictureName(shown), onScreen ? "" : " (not on screen)");
        asExpected = asExpected && shown == expected[k] && onScreen;
    }
    const auto& counters = logic.model().counters;
    std::printf("count %d, hits %d, misses %d, score %d, clock %s\n", counters.moleCount,
                counters.hitCount, counters.missCount, static_cast<int>(counters.score),
                pokopin::game::viewOf(logic.model()).clockText.c_str());

    const QPixmap shot = window.grab();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "game_snapshot: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d x %d\n", argv[1], shot.width(), shot.height());
    if (!asExpected) {
        std::fprintf(stderr, "game_snapshot: the board is not in the scripted state\n");
        return 1;
    }
    return 0;
}
