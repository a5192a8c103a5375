#include <gtest/gtest.h>

#include <thread>

#include "foundation/threading/ThreadTestSupport.h"
#include "foundation/core/KException.h"
#include "foundation/threading/KLock.h"
#include "foundation/threading/KMutex.h"
#include "foundation/threading/KSemaphore.h"

namespace {

using test_support::Event;
using test_support::MillisecondsTaken;

// Answers what Acquire(timeout) gives on a fresh thread, releasing on success.
int AcquireElsewhere(KSynchronizer& lock, std::uint32_t timeoutMs) {
    int answer = -1;
    std::thread([&] {
        answer = lock.Acquire(timeoutMs);
        if (answer == 0) lock.Release();
    }).join();
    return answer;
}

// Holds a synchroniser on its own thread until told to let go.
struct Holder : test_support::HoldingThread {
    explicit Holder(KSynchronizer& lock)
        : HoldingThread([&lock] { lock.Acquire(KSynchronizer::kInfinite); }, [&lock] { lock.Release(); }) {}
};

TEST(KLock, TryAnswersBusyOnlyForAnotherThread) {
    KLock lock;
    {
        Holder other(lock);
        EXPECT_EQ(lock.Acquire(0), 1);
        EXPECT_FALSE(lock.TryAcquire());
    }
    EXPECT_EQ(lock.Acquire(0), 0);
    EXPECT_EQ(lock.Acquire(0), 0);  // re-entrant for its owner
    EXPECT_EQ(AcquireElsewhere(lock, 0), 1);
    lock.Release();
    EXPECT_EQ(AcquireElsewhere(lock, 0), 1);  // still held once
    lock.Release();
    EXPECT_EQ(AcquireElsewhere(lock, 0), 0);
}

TEST(KLock, ProtectsACounterAcrossThreads) {
    KLock lock;
    int counter = 0;
    constexpr int kRounds = 20000;
    auto work = [&] {
        for (int i = 0; i < kRounds; ++i) {
            KScopedLock hold(lock);
            ++counter;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 2 * kRounds);
}

TEST(KScopedLock, RaisesOnABusyTryAndReleasesOnLeavingScope) {
    KLock lock;
    {
        Holder other(lock);
        try {
            KScopedLock hold(lock, 0);
            ADD_FAILURE() << "a busy lock was entered";
        } catch (const KException& e) {
            EXPECT_EQ(e.Message().ToUTF8(), "Could not acquire mutex.");
        }
    }
    {
        KScopedLock hold(lock, 0);
        EXPECT_EQ(AcquireElsewhere(lock, 0), 1);
    }
    EXPECT_EQ(AcquireElsewhere(lock, 0), 0);

    KSynchronizer* none = nullptr;
    KScopedLock nothing(none);  // a missing lock locks nothing
}

TEST(KMutex, AbandonedByItsOwnerCountsAsAcquired) {
    KMutex mutex;
    ASSERT_TRUE(mutex.HasHandle());
    std::thread([&] { EXPECT_EQ(mutex.Acquire(KSynchronizer::kInfinite), 0); }).join();  // ends holding it

    EXPECT_EQ(mutex.Acquire(5000), 0);
    EXPECT_EQ(AcquireElsewhere(mutex, 0), 1);  // the caller now owns it
    mutex.Release();
    EXPECT_EQ(AcquireElsewhere(mutex, 0), 0);
}

TEST(KMutex, ReentrantForItsOwnerAndTimedForOthers) {
    KMutex mutex;
    ASSERT_EQ(mutex.Acquire(KSynchronizer::kInfinite), 0);
    EXPECT_EQ(mutex.Acquire(0), 0);
    mutex.Release();

    int answer = -1;
    const double taken = MillisecondsTaken([&] { answer = AcquireElsewhere(mutex, 60); });
    EXPECT_EQ(answer, 1);
    EXPECT_GE(taken, 60 - test_support::kClockGrain);

    mutex.Release();
    EXPECT_EQ(AcquireElsewhere(mutex, 60), 0);
}

TEST(KMutex, WithoutHandleAlwaysAcquires) {
    KMutex mutex;
    mutex.Close();
    EXPECT_FALSE(mutex.HasHandle());
    EXPECT_EQ(mutex.Acquire(0), 0);
    EXPECT_EQ(AcquireElsewhere(mutex, 0), 0);  // even while "held" here
    mutex.Release();
    mutex.Release();  // releasing nothing is harmless
}

TEST(KSemaphore, CountsUnitsUpToItsMaximum) {
    KSemaphore semaphore(1, 2);
    EXPECT_EQ(semaphore.Acquire(0), 0);
    EXPECT_EQ(semaphore.Acquire(0), 1);
    semaphore.Release();
    semaphore.Release();
    semaphore.Release();  // beyond the maximum of 2: dropped
    EXPECT_EQ(semaphore.Acquire(0), 0);
    EXPECT_EQ(semaphore.Acquire(0), 0);
    EXPECT_EQ(semaphore.Acquire(0), 1);
}

TEST(KSemaphore, TimedWaitFailsAfterItsTimeoutAndWakesOnRelease) {
    KSemaphore semaphore;
    int answer = -1;
    const double taken = MillisecondsTaken([&] { answer = semaphore.Acquire(60); });
    EXPECT_EQ(answer, 1);
    EXPECT_GE(taken, 60 - test_support::kClockGrain);

    std::thread waiter([&] { answer = semaphore.Acquire(KSynchronizer::kInfinite); });
    semaphore.Release();
    waiter.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(semaphore.Acquire(0), 1);
}

}  // namespace
