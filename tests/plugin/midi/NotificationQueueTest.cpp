#include <gtest/gtest.h>

#include <thread>

#include "plugin/midi/KMIDINotificationQueue.h"

namespace {

TEST(MIDINotificationQueue, KeepsOrderAndDropsTheOldestWhenFull) {
    KMIDINotificationQueue queue;
    KMIDINotificationQueue::Notification n;
    EXPECT_FALSE(queue.Pop(n));
    const int pushed = int(KMIDINotificationQueue::kCapacity) + 44;
    for (int i = 0; i < pushed; ++i) queue.Push(i % 16 + 1, i);
    for (int expected = 44; expected < pushed; ++expected) {
        ASSERT_TRUE(queue.Pop(n));
        EXPECT_EQ(n.number, expected);
        EXPECT_EQ(n.channel, expected % 16 + 1);
    }
    EXPECT_FALSE(queue.Pop(n));
    queue.Push(3, 131);
    ASSERT_TRUE(queue.Pop(n));
    EXPECT_EQ(n.number, 131);
}

// A writer that never waits and a slow reader: what the reader gets is always
// in order and never torn, whatever was dropped.
TEST(MIDINotificationQueue, AReaderFallingBehindSeesAnOrderedSubset) {
    KMIDINotificationQueue queue;
    constexpr int kCount = 50000;
    std::thread writer([&] {
        for (int i = 0; i < kCount; ++i) queue.Push(i % 16 + 1, i % 65536);
    });
    int last = -1, received = 0;
    KMIDINotificationQueue::Notification n;
    auto drain = [&] {
        while (queue.Pop(n)) {
            ASSERT_GT(n.number, last);
            ASSERT_EQ(n.channel, n.number % 16 + 1);
            last = n.number;
            ++received;
        }
    };
    while (last < kCount - 1 && received < kCount) {
        drain();
        std::this_thread::yield();
        if (::testing::Test::HasFatalFailure()) break;
    }
    writer.join();
    drain();
    EXPECT_EQ(last, kCount - 1);
}

}  // namespace
