// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

#include <utility>

namespace pokopin::ui {

KeyFilter::KeyFilter(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler))
{
    qApp->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    // A key event that the focused control ignores travels up to its parents;
    // only its first delivery counts. Keys that steer the menu bar are not
    // the game's.
    QWidget* firstReceiver = window_->focusWidget() ? window_->focusWidget() : window_;
    if (widget != firstReceiver || qobject_cast<QMenuBar*>(widget))
        return false;

    const auto* key = static_cast<QKeyEvent*>(event);
    const KeyRoute route = routeKey(type, key->key(), key->modifiers(), key->isAutoRepeat());
    if (route.handler != KeyHandler::None)
        handler_(route);
    return false;
}

}  // namespace pokopin::ui
