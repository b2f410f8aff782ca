// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include "services.h"

namespace pokopin::records {

// The five lines that one finished game adds to the score log, in Shift-JIS,
// each line ending in CR LF. Pure: the same record always gives the same bytes.
// Expects record.when.weekday in 1..7 (1 = Sunday); any other value gives an
// empty weekday name. Empty when this Qt has no Shift-JIS codec.
QByteArray scoreEntryBytes(const game::ScoreRecord& record);

}  // namespace pokopin::records
