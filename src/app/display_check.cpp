// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace pokopin::app {

namespace {

// The value of a toolkit option written with one dash or two. The last one
// counts, and one without a value is ignored, as the toolkit does.
std::optional<std::string> option(int argc, const char* const* argv, std::string_view name)
{
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.starts_with("--"))
            arg.remove_prefix(1);
        if (arg == name && ++i < argc)
            value = argv[i];
    }
    return value;
}

std::vector<std::string> split(std::string_view list)
{
    std::vector<std::string> parts;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        if (end > 0)
            parts.emplace_back(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return parts;
}

std::string joined(const std::vector<std::string>& parts, std::size_t from, std::string_view glue)
{
    std::string text;
    for (std::size_t i = from; i < parts.size(); ++i)
        text += (i == from ? "" : std::string(glue)) + parts[i];
    return text;
}

// An X connection that is dropped when the last probe that holds it goes.
using XConnection = std::shared_ptr<xcb_connection_t>;

bool xAnswers(const std::string& name, XConnection& held)
{
    // The whole connection set-up, authorisation included: a display that
    // refuses us would make the toolkit give up just the same.
    XConnection connection(xcb_connect(name.c_str(), nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()) != 0)
        return false;
    held = std::move(connection);
    return true;
}

bool waylandAnswers(const std::string& socketPath)
{
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A compositor too busy to take us at once is still there.
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
        || errno == EAGAIN;
    ::close(fd);
    return answers;
}

}  // namespace

DisplayChoice chooseDisplay(int argc, const char* const* argv,
                            const std::function<const char*(const char*)>& environment,
                            const DisplayProbes& probes)
{
    const auto given = [&](const char* name) { return environment(name) != nullptr; };
    const auto value = [&](const char* name) -> std::string {
        const char* text = environment(name);
        return text != nullptr ? text : "";
    };
    const auto missing = [&](const char* name) {
        return std::string(name) + (given(name) ? " is empty" : " is not set");
    };

    // The platforms the toolkit tries, in its order, until one starts.
    std::vector<std::string> platforms;
    std::string asked;  // how they were asked for, when they were
    const std::string fromOption = option(argc, argv, "-platform").value_or("");
    const std::string fromEnvironment = value("QT_QPA_PLATFORM");
    if (!fromOption.empty()) {
        platforms = split(fromOption);
        asked = "-platform " + fromOption;
    } else if (!fromEnvironment.empty()) {
        platforms = split(fromEnvironment);
        asked = "QT_QPA_PLATFORM=" + fromEnvironment;
    } else {
        if (given("WAYLAND_DISPLAY") || value("XDG_SESSION_TYPE") == "wayland")
            platforms.emplace_back("wayland");
        platforms.emplace_back("xcb");
    }

    std::vector<std::string> reasons;
    for (std::size_t i = 0; i < platforms.size(); ++i) {
        const std::string_view platform = platforms[i];
        const std::string_view base = platform.substr(0, platform.find(':'));
        bool answers = false;
        if (base == "xcb") {
            const std::string name = option(argc, argv, "-display").value_or(value("DISPLAY"));
            if (name.empty())
                reasons.push_back(missing("DISPLAY"));
            else if (!(answers = probes.x(name)))
                reasons.push_back("cannot reach the X display " + name);
        } else if (base.starts_with("wayland")) {
            // Found as the Wayland library finds it: a socket handed over,
            // else WAYLAND_DISPLAY (wayland-0 when unset) in XDG_RUNTIME_DIR.
            const std::string name =
                given("WAYLAND_DISPLAY") ? value("WAYLAND_DISPLAY") : "wayland-0";
            const std::string runtime = value("XDG_RUNTIME_DIR");
            if (given("WAYLAND_SOCKET"))
                answers = true;
            else if (name.empty())
                reasons.push_back(missing("WAYLAND_DISPLAY"));
            else if (!name.starts_with('/') && !runtime.starts_with('/'))
                reasons.push_back("cannot find the Wayland display " + name + ": "
                                  + missing("XDG_RUNTIME_DIR"));
            else if (!(answers =
                           probes.wayland(name.starts_with('/') ? name : runtime + '/' + name)))
                reasons.push_back("cannot reach the Wayland display " + name);
        } else {
            answers = true;  // offscreen, vnc and the like need no display
        }
        if (answers)
            return {i == 0 ? std::string() : joined(platforms, i, ";"), {}};
    }

    std::string error = "no display to show the game on: ";
    if (asked.empty() && reasons == std::vector<std::string>{"DISPLAY is not set"})
        error += "neither DISPLAY nor WAYLAND_DISPLAY is set";
    else
        error += joined(reasons, 0, "; ") + (asked.empty() ? "" : " (" + asked + ")");
    return {{}, error};
}

DisplayProbes connectingProbes()
{
    auto held = std::make_shared<XConnection>();
    return {[held](const std::string& name) { return xAnswers(name, *held); }, waylandAnswers};
}

}  // namespace pokopin::app
