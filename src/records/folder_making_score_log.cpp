// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "folder_making_score_log.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace pokopin::records {

namespace {

namespace fs = std::filesystem;

// The folder holding `path`, lexically: "/usr/bin" and "/usr/bin/" give
// "/usr", "/" gives "/", a bare name gives "".
fs::path parentOf(fs::path path)
{
    if (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    return path.parent_path();
}

bool isFolder(const fs::path& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int makeFolders(const std::filesystem::path& folder)
{
    if (folder.empty() || isFolder(folder))
        return 0;
    // A parent that exists but is no folder is left to mkdir() to report.
    const std::filesystem::path parent = parentOf(folder);
    struct stat st {};
    if (parent != folder && !parent.empty() && ::stat(parent.c_str(), &st) != 0)
        if (const int err = makeFolders(parent))
            return err;
    if (::mkdir(folder.c_str(), 0700) == 0)
        return 0;
    const int err = errno;
    return err == EEXIST && isFolder(folder) ? 0 : err;
}

game::AppendResult FolderMakingScoreLog::append(const std::string& path,
                                                const game::ScoreRecord& record)
{
    if (const int err = makeFolders(parentOf(path)))
        return {false, std::generic_category().message(err), err};
    return inner_.append(path, record);
}

}  // namespace pokopin::records
