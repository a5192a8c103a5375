#pragma once
#include "foundation/core/Guard.h"
#include "foundation/threading/KThread.h"
#include "signal/generator/KSignalGenerator.h"

// Builds whatever the edits left to build, until stopped.
class KSignalGenerator::BackgroundBuilder final : public KThread {
public:
    explicit BackgroundBuilder(KSignalGenerator& generator) : m_generator(generator) {}
    ~BackgroundBuilder() override { Stop(); }

protected:
    std::int32_t Thread() override {
        // Settings left dirty by a round that could not take the lock are
        // picked up within this time even without a further edit.
        constexpr std::uint32_t kIdleCheckMs = 250;
        while (!StopRequested()) {
            WaitForWakeUp(kIdleCheckMs);
            if (StopRequested()) break;
            KGuard::Run("KSignalGenerator::BuildTable", [this] { m_generator.BuildTable(false); });
        }
        return 0;
    }

private:
    KSignalGenerator& m_generator;
};
