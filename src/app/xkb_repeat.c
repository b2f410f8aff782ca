// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/* Written in C: the XKB protocol header uses C++ keywords as field names. */
#include "xkb_repeat.h"

#include <stdint.h>
#include <stdlib.h>

#include <xcb/xcb.h>
#include <xcb/xkb.h>

void pokopin_xkb_detectable_repeat(void* connection)
{
    xcb_connection_t* c = (xcb_connection_t*)connection;
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (xkb == NULL || !xkb->present)
        return;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    /* Refused or not, there is nothing more to do. */
    free(xcb_xkb_per_client_flags_reply(
        c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), NULL));
}
