// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_queue.h"

#include <pthread.h>

namespace pokopin::audio {

CommandQueue::CommandQueue(const char* threadName) : thread_([this] { run(); })
{
    // Lets per-thread CPU figures (/proc/PID/task) tell this thread apart.
    ::pthread_setname_np(thread_.native_handle(), threadName);
}

CommandQueue::~CommandQueue()
{
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void CommandQueue::post(std::function<void()> command)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(command));
    }
    wake_.notify_one();
}

void CommandQueue::postAt(std::chrono::steady_clock::time_point due, std::function<void()> command)
{
    {
        std::lock_guard lock(mutex_);
        delayed_.emplace(due, std::move(command));
    }
    wake_.notify_one();
}

void CommandQueue::settle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && delayed_.empty() && !busy_; });
}

void CommandQueue::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        // Delayed commands join the queue when due, or at once at the end.
        while (!delayed_.empty()
               && (ending_ || delayed_.begin()->first <= std::chrono::steady_clock::now())) {
            queue_.push_back(std::move(delayed_.begin()->second));
            delayed_.erase(delayed_.begin());
        }
        if (queue_.empty()) {
            if (ending_)
                return;  // nothing is left to do
            if (delayed_.empty())
                wake_.wait(lock);
            else
                wake_.wait_until(lock, delayed_.begin()->first);
            continue;
        }
        std::function<void()> command = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        command();
        command = nullptr;  // whatever it holds goes before the queue is called idle
        lock.lock();
        busy_ = false;
        if (queue_.empty() && delayed_.empty())
            idle_.notify_all();
    }
}

}  // namespace pokopin::audio
