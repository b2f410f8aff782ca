#pragma once

// The logical state of the main window's controls that the rules read and
// write: which picture each hole shows, menu item states, label texts and
// which timers run. The Qt window mirrors this state; the logic never touches
// a widget.

#include <array>
#include <cstdint>
#include <string>

#include "game_state.h"

namespace pokopin::game {

// The four shared hole pictures, by their index in picMogu. A hole "shows
// picMogu(k)" exactly when its HolePicture equals k: an identity test, never a
// comparison of pixels.
enum class HolePicture : std::uint8_t { Empty = 0, Mole = 1, Whacked = 2, Miss = 3 };

struct MenuItem {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

struct Controls {
    // Window layout values, before start-up changes them.
    std::array<HolePicture, kHoles> picMaru{};  // Empty everywhere

    bool timMidi = true;
    bool timTitleMidi = true;
    bool timStart = false;   // a game is running exactly while this is enabled
    bool timKesu = false;
    bool timNokori = false;

    MenuItem mnuKaisi;                            // "スタート"
    MenuItem mnuChuudan;                          // "ストップ", hidden by start-up
    MenuItem mnuExit;                             // "終了"
    MenuItem mnuOption;                           // "設定(&O)"
    std::array<MenuItem, 4> mnuOptionMode{};      // the four modes
    MenuItem mnuScore;                            // "スコア(&S)"
    std::array<MenuItem, 2> mnuScoreSave{MenuItem{true, true, true}, MenuItem{}};
    MenuItem mnuScoreText{true, false, false};    // "SCORE", disabled in the layout
    MenuItem mnuHelp;                             // "ヘルプ(&H)"
    MenuItem mnuHelptxt;                          // "HELP"
    MenuItem mnuVer;                              // "ﾊﾞｰｼﾞｮﾝ情報"

    // Label pairs (white text over its dark shadow) hold one text and one
    // visibility for both labels of the pair.
    std::string lblKosuu = "0";
    std::string lblHit = "0";
    std::string lblMiss = "0";
    std::string lblMainScore = "0";
    bool lblMainScoreVisible = true;
    std::string lblTime = "20";   // lblTime(0) and lblTime(1), the clock value
    bool lblRecVisible = true;    // lblRec(0) and lblRec(1), "SCORE RECORD"

    // The mode label last painted into the side panel: the picLebel indices of
    // its mask and image, and a count of paints so that a view can tell a
    // repaint of the same label from no paint at all. -1: nothing painted yet.
    int panelMask = -1;
    int panelImage = -1;
    std::uint32_t panelPaints = 0;
};

}  // namespace pokopin::game
