#pragma once
#include <atomic>
#include <cstdint>

#include "foundation/threading/KThread.h"

class KAudioPlugin;

// Passes pending parameter display updates to the editor system: every
// 100 ms, or at once when woken, it asks the editor to take the list while
// the list is not empty and an editor exists. It never touches audio data.
class KAutomationUpdateThread final : public KThread {
public:
    static constexpr std::uint32_t kPeriodMs = 100;

    explicit KAutomationUpdateThread(KAudioPlugin& plugin) : m_plugin(plugin) {}
    ~KAutomationUpdateThread() override { Stop(); }

    // Update requests posted so far.
    std::uint64_t Requests() const noexcept { return m_requests.load(); }

protected:
    std::int32_t Thread() override;

private:
    KAudioPlugin& m_plugin;
    std::atomic<std::uint64_t> m_requests{0};
};
