// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The title card shown while the main window loads. Its timer hands over to
// the main window; the title has nothing else to do.

#include <QWidget>

#include <functional>

#include "picture_box.h"

class QTimer;

namespace pokopin::app {

class TitleWindow : public QWidget {
    Q_OBJECT
public:
    // onTick runs on every tick of its timer once the card has been painted.
    explicit TitleWindow(std::function<void()> onTick, QWidget* parent = nullptr);
    void showCentred();
    QTimer* timer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tick();

    std::function<void()> onTick_;
    ui::Picture picture_;
    QTimer* timer_ = nullptr;
    bool painted_ = false;
};

}  // namespace pokopin::app
