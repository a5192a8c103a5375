#pragma once
#include <atomic>
#include <cstdint>

#include "foundation/text/KString.h"
#include "plugin/parameters/KParameterRecord.h"

// A parameter that is a whole object (a signal generator), exposed to the
// host through the object's own parameter wrappers.
struct KPluginSpecialItem {
    KString name;
    std::int32_t state = 0;          // 0 or 1: may be randomised
    KSignalGenerator* generator = nullptr;
    std::int32_t randomDivisor = 1;  // one chance in N per randomisation
    void** editorControl = nullptr;  // where the editor keeps the object's control

    bool IsRandomizable() const noexcept { return state == 0 || state == 1; }
};

// Settings of the adapter that the effect reads while processing.
struct KProcessingSettings {
    bool smoothing = true;  // jump smoothing of waveform changes
};

// The block an effect hands to its adapter: its records and special items.
struct KPluginParameters {
    static constexpr std::uint8_t kFullUpdatePending = 0x04;

    // Written by parameter changes on any thread, consumed on the audio thread.
    std::atomic<std::uint8_t> flags{0};
    KParameterRecord* records = nullptr;
    std::int32_t recordCount = 0;
    KPluginSpecialItem* specialItems = nullptr;
    std::int32_t specialItemCount = 0;
    const KProcessingSettings* processingSettings = nullptr;

    bool FullUpdatePending() const noexcept { return (flags.load(std::memory_order_acquire) & kFullUpdatePending) != 0; }
    void SetFullUpdatePending(bool pending) noexcept {
        if (pending) flags.fetch_or(kFullUpdatePending, std::memory_order_release);
        else flags.fetch_and(std::uint8_t(~kFullUpdatePending), std::memory_order_acq_rel);
    }
};
