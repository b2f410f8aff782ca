// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace pokopin::audio {

// Carries out commands one after another, in the order they were posted, on
// a thread of its own, so that a slow command (reading a tune and its
// SoundFont) never holds up the thread that posts it.
//
// Commands are posted, settled and asked for from one thread at a time, and
// never from a command itself: that would wait for itself.
class CommandQueue {
public:
    // threadName shows in the process's thread list (at most 15 bytes).
    explicit CommandQueue(const char* threadName);
    // Carries out every command still queued, then ends the thread.
    ~CommandQueue();

    CommandQueue(const CommandQueue&) = delete;
    CommandQueue& operator=(const CommandQueue&) = delete;

    void post(std::function<void()> command);
    // Posts command at `due`; the commands posted meanwhile go ahead of it.
    // On destruction it is carried out at once.
    void postAt(std::chrono::steady_clock::time_point due, std::function<void()> command);

    // Returns once every command posted before, delayed ones too, has been
    // carried out.
    void settle();

    // Runs question after every command posted before it, on the queue's
    // thread, and returns its answer.
    template <class Question>
    auto ask(Question question) -> decltype(question())
    {
        std::packaged_task<decltype(question())()> task(std::move(question));
        auto answer = task.get_future();
        post([&task] { task(); });
        return answer.get();
    }

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;  // a command was posted, or the end has come
    std::condition_variable idle_;  // the queue ran dry
    std::deque<std::function<void()>> queue_;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> delayed_;
    bool busy_ = false;
    bool ending_ = false;
    std::thread thread_;  // last: started once everything above exists
};

}  // namespace pokopin::audio
