// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The one entry point of the history module: everything else in it stays
// hidden. ScoreHistory looks this name up after loading the module.

#include <QtGlobal>

#include "score_history_window.h"

extern "C" Q_DECL_EXPORT QWidget* pokopin_history_window(const QString& logPath, QWidget* parent)
{
    return new pokopin::history::ScoreHistoryWindow(logPath, parent);
}
