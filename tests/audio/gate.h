// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A door that threads wait at until a test opens it. Waiters give up after a
// while, so that a fault shows as a failed check rather than a hung test.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace pokopin::testing {

class Gate {
public:
    void open()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

    // True when the gate was opened, false when the wait gave up.
    bool wait(std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        std::unique_lock lock(mutex_);
        return opened_.wait_for(lock, limit, [this] { return open_; });
    }

    bool isOpen()
    {
        std::lock_guard lock(mutex_);
        return open_;
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

}  // namespace pokopin::testing
