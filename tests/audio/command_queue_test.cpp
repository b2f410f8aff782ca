// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The serial command queue that carries out the tune commands.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "command_queue.h"
#include "gate.h"

namespace {

using namespace std::chrono_literals;
using pokopin::audio::CommandQueue;
using pokopin::testing::Gate;

TEST(CommandQueue, CarriesOutCommandsInTheOrderPosted)
{
    std::vector<int> done;  // touched by the queue's thread only, until settled
    CommandQueue queue("test-queue");
    for (int i = 0; i < 500; ++i)
        queue.post([&done, i] { done.push_back(i); });
    queue.settle();
    ASSERT_EQ(done.size(), 500u);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(done[static_cast<std::size_t>(i)], i);
}

// The point of the queue: the poster never waits for a slow command.
TEST(CommandQueue, PostReturnsWhileAnEarlierCommandIsStillRunning)
{
    Gate entered;
    Gate release;
    std::atomic<bool> heldUntilReleased{false};
    std::atomic<int> later{0};
    CommandQueue queue("test-queue");
    queue.post([&] {
        entered.open();
        heldUntilReleased = release.wait();
    });
    for (int i = 0; i < 3; ++i)
        queue.post([&] { ++later; });
    ASSERT_TRUE(entered.wait());
    EXPECT_EQ(later, 0) << "a command overtook the one in progress";
    release.open();
    queue.settle();
    EXPECT_TRUE(heldUntilReleased) << "posting waited for the slow command";
    EXPECT_EQ(later, 3);
}

TEST(CommandQueue, AnswersAfterEveryCommandPostedBefore)
{
    std::vector<int> done;  // the queue's thread's
    CommandQueue queue("test-queue");
    for (int i = 0; i < 100; ++i) {
        queue.post([&done, i] { done.push_back(i); });
        // Each answer sees every command posted before it.
        ASSERT_EQ(queue.ask([&done] { return done; }).size(), static_cast<std::size_t>(i + 1));
    }
    EXPECT_EQ(queue.ask([] { return std::this_thread::get_id(); }),
              queue.ask([] { return std::this_thread::get_id(); }));
    EXPECT_NE(queue.ask([] { return std::this_thread::get_id(); }), std::this_thread::get_id());
}

// Closing the device right after the last tune command must not lose it:
// whatever is still queued is carried out before the thread ends.
TEST(CommandQueue, DestructionCarriesOutWhatIsStillQueued)
{
    Gate entered;
    Gate release;
    auto ran = std::make_shared<std::vector<int>>();
    auto queue = std::make_unique<CommandQueue>("test-queue");
    queue->post([&] {
        entered.open();
        release.wait();
    });
    for (int i = 0; i < 20; ++i)
        queue->post([ran, i] { ran->push_back(i); });
    ASSERT_TRUE(entered.wait());
    // Opened a little later, so that the destructor usually starts while the
    // first command still holds the queue and the other twenty wait.
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        release.open();
    });
    queue.reset();
    opener.join();
    ASSERT_EQ(ran->size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ((*ran)[static_cast<std::size_t>(i)], i);
}

// A delayed command lets the ones posted after it go first, never runs
// before it is due, and is waited for by settle.
TEST(CommandQueue, ADelayedCommandRunsWhenDueAfterTheOnesPostedMeanwhile)
{
    std::vector<std::string> done;
    std::chrono::steady_clock::time_point ranAt;
    CommandQueue queue("test-queue");
    const auto due = std::chrono::steady_clock::now() + 150ms;
    queue.postAt(due, [&] {
        ranAt = std::chrono::steady_clock::now();
        done.push_back("delayed");
    });
    queue.post([&] { done.push_back("a"); });
    queue.post([&] { done.push_back("b"); });
    queue.settle();
    EXPECT_EQ(done, (std::vector<std::string>{"a", "b", "delayed"}));
    EXPECT_GE(ranAt, due);
}

// The program ending does not wait for a command due much later.
TEST(CommandQueue, DestructionCarriesOutADelayedCommandAtOnce)
{
    auto ran = std::make_shared<std::atomic<bool>>(false);
    {
        CommandQueue queue("test-queue");
        queue.postAt(std::chrono::steady_clock::now() + 1h, [ran] { *ran = true; });
    }
    EXPECT_TRUE(*ran);
}

}  // namespace
