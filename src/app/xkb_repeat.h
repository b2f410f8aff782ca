// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Asks the X server behind the xcb connection for detectable key repeat. */
void pokopin_xkb_detectable_repeat(void* connection);

#ifdef __cplusplus
}
#endif
