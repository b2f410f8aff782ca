// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace pokopin::app {

// On X11 a held key normally arrives as pairs of release and press, and the
// toolkit has to guess which releases are real by peeking for the matching
// press; under load that guess can fail, and a held Space would start and
// stop games on its own. Asks the X server to send only repeated presses and
// one real release instead. Does nothing on other platforms or when the
// server cannot do it: the toolkit's own guess then stays in force.
void preferDetectableKeyRepeat();

}  // namespace pokopin::app
