// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes. The folder is world-readable so that a test
// child process running as another user can pass through it, and removal
// first gives back write permission to folders a test made read-only.

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace pokopin::testing {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "pokopin-test")
    {
        namespace fs = std::filesystem;
        std::string tmpl = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        path_ = tmpl;
        fs::permissions(path_, fs::perms(0755));
    }
    ~TempDir()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace pokopin::testing
