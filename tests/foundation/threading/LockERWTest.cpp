#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "foundation/threading/ThreadTestSupport.h"
#include "foundation/threading/KERWLock.h"
#include "foundation/core/KException.h"

namespace {

using test_support::Event;
using test_support::MillisecondsTaken;
using test_support::WaitUntil;

constexpr std::uint32_t kRead = KERWLock::kRead;
constexpr std::uint32_t kWrite = KERWLock::kWrite;
constexpr std::uint32_t kForever = KSynchronizer::kInfinite;

// Answers what Acquire(mode, timeout) gives on a fresh thread, releasing on success.
int AcquireElsewhere(KERWLock& lock, std::uint32_t mode, std::uint32_t timeoutMs) {
    int answer = -1;
    std::thread([&] {
        answer = lock.Acquire(mode, timeoutMs);
        if (answer == 0) lock.Release(mode);
    }).join();
    return answer;
}

// Holds a KERWLock in one mode on its own thread until told to let go.
struct Holder : test_support::HoldingThread {
    Holder(KERWLock& lock, std::uint32_t mode)
        : HoldingThread([&lock, mode] { lock.Acquire(mode); }, [&lock, mode] { lock.Release(mode); }) {}
};

KERWLock::Counts Counts(int readers, int writers, int waitingWriters, int readsOfWaitingWriters) {
    return {readers, writers, waitingWriters, readsOfWaitingWriters};
}

TEST(KERWLock, ReadersShareAndWritersExclude) {
    KERWLock lock;
    {
        Holder reader(lock, kRead);
        EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 0);
        EXPECT_EQ(AcquireElsewhere(lock, kWrite, 0), 1);
    }
    {
        Holder writer(lock, kWrite);
        EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 1);
        EXPECT_EQ(AcquireElsewhere(lock, kWrite, 0), 1);
    }
    EXPECT_EQ(lock.Snapshot(), Counts(0, 0, 0, 0));
}

TEST(KERWLock, HoldsAreRecursivePerThread) {
    KERWLock lock;
    ASSERT_EQ(lock.Acquire(kWrite), 0);
    ASSERT_EQ(lock.Acquire(kWrite, 0), 0);
    ASSERT_EQ(lock.Acquire(kRead, 0), 0);  // a writer may also read
    EXPECT_EQ(lock.WriteHoldsOfCaller(), 2);
    EXPECT_EQ(lock.ReadHoldsOfCaller(), 1);
    EXPECT_EQ(lock.Snapshot(), Counts(1, 2, 0, 0));

    lock.Release(kWrite);
    lock.Release(kRead);
    EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 1);  // one write hold remains
    lock.Release(kWrite);
    EXPECT_EQ(AcquireElsewhere(lock, kWrite, 0), 0);
    EXPECT_EQ(lock.WriteHoldsOfCaller(), 0);
}

TEST(KERWLock, FlagBitsOfTheModeDoNotChangeTheAccess) {
    KERWLock lock;
    ASSERT_EQ(lock.Acquire(kWrite | 0x80000000u), 0);
    EXPECT_EQ(lock.WriteHoldsOfCaller(), 1);
    lock.Release(kWrite | KSynchronizationObject::kNoYieldOnRelease);
    ASSERT_EQ(lock.Acquire(kRead | KSynchronizationObject::kNoYieldOnRelease), 0);
    EXPECT_EQ(lock.ReadHoldsOfCaller(), 1);
    lock.Release(kRead);
    EXPECT_EQ(lock.Snapshot(), Counts(0, 0, 0, 0));
}

TEST(KERWLock, SoleReaderUpgradesToWrite) {
    KERWLock lock;
    ASSERT_EQ(lock.Acquire(kRead), 0);
    ASSERT_EQ(lock.Acquire(kWrite, 1000), 0);
    EXPECT_EQ(lock.Snapshot(), Counts(1, 1, 0, 0));
    EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 1);
    lock.Release(kWrite);
    lock.Release(kRead);

    // The same through the unlimited path.
    ASSERT_EQ(lock.Acquire(kRead), 0);
    ASSERT_EQ(lock.Acquire(kWrite), 0);
    EXPECT_EQ(lock.Snapshot(), Counts(1, 1, 0, 0));
    lock.Release(kWrite);
    lock.Release(kRead);
    EXPECT_EQ(lock.Snapshot(), Counts(0, 0, 0, 0));
}

TEST(KERWLock, UpgradeRefusedWhileAnotherThreadReadsAndBookkeepingRestored) {
    KERWLock lock;
    Holder otherReader(lock, kRead);
    ASSERT_EQ(lock.Acquire(kRead), 0);
    const KERWLock::Counts before = lock.Snapshot();
    ASSERT_EQ(before, Counts(2, 0, 0, 0));

    int answer = -1;
    const double taken = MillisecondsTaken([&] { answer = lock.Acquire(kWrite, 80); });
    EXPECT_EQ(answer, 1);
    EXPECT_GE(taken, 80 - test_support::kClockGrain);
    EXPECT_LT(taken, 80 + 5000);
    EXPECT_EQ(lock.Snapshot(), before);
    EXPECT_EQ(lock.WriteHoldsOfCaller(), 0);
    lock.Release(kRead);
}

TEST(KERWLock, WaitingWriterBlocksNewReadersButNotReentrantOnes) {
    KERWLock lock;
    Event readerMayLeave;
    Event reentered;
    std::thread reader([&] {
        lock.Acquire(kRead);
        readerMayLeave.WaitFor();
        reentered.Set();
        EXPECT_EQ(lock.Acquire(kRead, 0), 0);  // already reads: admitted at once
        lock.Release(kRead);
        lock.Release(kRead);
    });
    ASSERT_TRUE(WaitUntil([&] { return lock.Snapshot().readers == 1; }));

    Event writerIn;
    Event writerMayLeave;
    std::thread writer([&] {
        lock.Acquire(kWrite);
        writerIn.Set();
        writerMayLeave.WaitFor();
        lock.Release(kWrite);
    });
    ASSERT_TRUE(WaitUntil([&] { return lock.Snapshot().waitingWriters == 1; }));

    EXPECT_EQ(AcquireElsewhere(lock, kRead, 30), 1);  // a new reader queues behind the writer
    EXPECT_EQ(lock.Snapshot(), Counts(1, 0, 1, 0));
    EXPECT_FALSE(writerIn.IsSet());

    readerMayLeave.Set();
    EXPECT_TRUE(writerIn.WaitFor());
    EXPECT_TRUE(reentered.IsSet());
    EXPECT_EQ(lock.Snapshot(), Counts(0, 1, 0, 0));
    writerMayLeave.Set();
    writer.join();
    reader.join();
    EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 0);
}

TEST(KERWLock, ReleasingAHoldNotHeldIsIgnored) {
    KERWLock lock;
    Holder reader(lock, kRead);
    lock.Release(kRead);
    lock.Release(kWrite);
    EXPECT_EQ(lock.Snapshot(), Counts(1, 0, 0, 0));
}

TEST(KERWLock, KeepsReadersAndWritersApartUnderContention) {
    KERWLock lock;
    int a = 0, b = 0;  // writers keep them equal; readers must never see them differ
    std::atomic<int> mismatches{0};
    constexpr int kRounds = 2000;
    auto writerWork = [&] {
        for (int i = 0; i < kRounds; ++i) {
            KScopedObjectLock hold(lock, kWrite);
            ++a;
            ++b;
        }
    };
    auto readerWork = [&] {
        for (int i = 0; i < kRounds; ++i) {
            KScopedObjectLock hold(lock, kRead);
            KScopedObjectLock again(lock, kRead);
            if (a != b) ++mismatches;
        }
    };
    std::vector<std::thread> threads;
    threads.emplace_back(writerWork);
    threads.emplace_back(readerWork);
    threads.emplace_back(writerWork);
    threads.emplace_back(readerWork);
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(a, 2 * kRounds);
    EXPECT_EQ(b, 2 * kRounds);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(lock.Snapshot(), Counts(0, 0, 0, 0));
}

TEST(KScopedObjectLock, RaisesOnTimeoutAndReleasesOnLeavingScope) {
    KERWLock lock;
    {
        Holder writer(lock, kWrite);
        try {
            KScopedObjectLock hold(lock, kRead, 20);
            ADD_FAILURE() << "read admitted while another thread writes";
        } catch (const KException& e) {
            EXPECT_EQ(e.Message().ToUTF8(), "Could not acquire emulated synchronization object.");
        }
        EXPECT_EQ(lock.Snapshot(), Counts(0, 1, 0, 0));
    }
    {
        KScopedObjectLock hold(lock, kWrite);
        EXPECT_EQ(AcquireElsewhere(lock, kRead, 0), 1);
    }
    EXPECT_EQ(lock.Snapshot(), Counts(0, 0, 0, 0));
}

TEST(KThreadLocalSlot, ValuesArePerThreadAndExhaustionIsReported) {
    KThreadLocalSlot slot;
    slot.Set(7);
    std::uintptr_t seenElsewhere = 1;
    std::thread([&] { seenElsewhere = slot.Get(); }).join();
    EXPECT_EQ(seenElsewhere, 0u);
    EXPECT_EQ(slot.Get(), 7u);

    std::vector<std::unique_ptr<KThreadLocalSlot>> slots;
    try {
        for (int i = 0; i < 100000; ++i) slots.push_back(std::make_unique<KThreadLocalSlot>());
        ADD_FAILURE() << "the system never ran out of thread-local indices";
    } catch (const KException& e) {
        EXPECT_EQ(e.Message().ToUTF8(), "Could not create thread local storage.");
    }
}

}  // namespace
