// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_history_entry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pokopin::history {
namespace {

constexpr char kModuleFile[] = "libpokopin_history.so";
constexpr char kEntryPoint[] = "pokopin_history_window";
using MakeWindow = QWidget* (*)(const QString&, QWidget*);

}  // namespace

QStringList ScoreHistory::defaultModuleFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/../lib/pokopin/modules"))};
}

ScoreHistory::ScoreHistory(QString logPath, QWidget* parent, QStringList moduleFolders)
    : logPath_(std::move(logPath)), parent_(parent), folders_(std::move(moduleFolders))
{}

ScoreHistory::~ScoreHistory()
{
    delete window_;
}

bool ScoreHistory::load()
{
    if (window_)
        return true;
    if (!module_.isLoaded()) {
        QString path;
        for (const QString& folder : folders_) {
            const QString candidate = QDir(folder).filePath(QLatin1String(kModuleFile));
            if (QFileInfo::exists(candidate)) {
                path = candidate;
                break;
            }
        }
        if (path.isEmpty()) {
            error_ = QStringLiteral("%1 not found in %2")
                         .arg(QLatin1String(kModuleFile), folders_.join(QStringLiteral(", ")));
            return false;
        }
        module_.setFileName(path);
        // The window's code must stay while the window does; the module is
        // never unloaded.
        module_.setLoadHints(QLibrary::PreventUnloadHint);
        if (!module_.load()) {
            error_ = module_.errorString();
            return false;
        }
    }
    const auto make = reinterpret_cast<MakeWindow>(module_.resolve(kEntryPoint));
    if (!make) {
        error_ = module_.errorString();
        return false;
    }
    window_ = make(logPath_, parent_);
    error_.clear();
    return window_ != nullptr;
}

bool ScoreHistory::showForMode(int mode)
{
    if (!load())
        return false;
    return QMetaObject::invokeMethod(window_, "showForMode", Q_ARG(int, mode));
}

void ScoreHistory::logAppended()
{
    if (window_)
        QMetaObject::invokeMethod(window_, "logAppended");
}

}  // namespace pokopin::history
