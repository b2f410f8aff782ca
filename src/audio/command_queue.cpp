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

void CommandQueue::settle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void CommandQueue::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty())
            return;  // ending, and nothing is left to do
        std::function<void()> command = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        command();
        command = nullptr;  // whatever it holds goes before the queue is called idle
        lock.lock();
        busy_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
}

}  // namespace pokopin::audio
