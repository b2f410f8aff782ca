// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>

namespace pokopin::app {

// Whether a display answers: an X display by its name (":0", "host:10.0"),
// a Wayland display by the path of its socket.
struct DisplayProbes {
    std::function<bool(const std::string& name)> x;
    std::function<bool(const std::string& socketPath)> wayland;
};

// What the program does before the toolkit starts.
struct DisplayChoice {
    // The platform list to hand the toolkit with -platform when the first
    // platform it would try cannot be reached but a later one can; empty:
    // the toolkit's own choice stands.
    std::string platform;
    // Set when no display can be reached: one line that names the displays.
    std::string error;
};

// Follows the toolkit's own order of platforms (the -platform option, else
// QT_QPA_PLATFORM, else Wayland first on a Wayland session and then X) and
// probes each display on the way. Platforms that need no display (offscreen,
// minimal, vnc, ...) are left to the toolkit.
DisplayChoice chooseDisplay(int argc, const char* const* argv,
                            const std::function<const char*(const char*)>& environment,
                            const DisplayProbes& probes);

// Probes that connect for real: an X connection set up, a plain connect to
// the Wayland socket. The X connection stays open as long as the probes do:
// keep them until the toolkit has its own, or a server that resets when its
// last client leaves (a bare X server) makes the toolkit wait for the reset.
DisplayProbes connectingProbes();

}  // namespace pokopin::app
