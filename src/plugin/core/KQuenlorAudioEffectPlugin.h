#pragma once
#include <memory>
#include <vector>

#include "plugin/core/KActivePresetSlots.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/presets/KPresetNavigator.h"

// The maker's plug-in: the adapter plus the product identity (and, around
// it, the editor frame and the active presets).
class KQuenlorAudioEffectPlugin : public KAudioEffectPluginToAudioPluginAdapter {
public:
    // Sets the adapter up, then fills every active-preset slot with the
    // default settings.
    void Initialize(const KString& productName, const KString& makerName, KPluginEntry effectEntry);
    ~KQuenlorAudioEffectPlugin() override;

    // The whole state: the upsampling settings and the active-preset slots,
    // then the adapter's fields and settings.
    void Store(KStorageContext& context) override;

    KActivePresetSlots& ActivePresets() noexcept { return m_activePresets; }

    // The active-preset slots A to H (0 to 7) as the editor drives them.
    // The slot in use.
    int ActivePresetIndex() const noexcept { return m_activePresets.Current(); }
    // Asks for a switch to `slot` (outside 0..7: nothing); safe from any
    // thread. The update thread makes the switch unless the caller makes it
    // first with ApplyActivePresetRequest.
    void RequestActivePreset(int slot) noexcept;
    // Asks for the slot used before the current one; nothing when there is
    // none yet.
    void ToggleActivePresetAB() noexcept;
    // Makes a pending switch now, never on the audio thread: the current
    // settings are stored into the slot in use, the requested slot's
    // settings are loaded and the host hears that parameters changed.
    void ApplyActivePresetRequest();
    // Deep copies of slots 0 to count - 1, the slot in use refilled with
    // the current settings first (the corners of ABCD morphing).
    std::vector<std::unique_ptr<KXMLItem>> CaptureActivePresets(int count);
    // Makes `slot` the slot in use without loading it: the current settings
    // become that slot's own from now on.
    void SelectActivePresetKeepingSettings(int slot);

    // The preset library the MIDI preset trigger steps through (not owned).
    void SetPresetNavigator(KPresetNavigator* navigator) noexcept { m_presetNavigator.store(navigator); }

    const KString& ProductName() const noexcept { return m_productName; }
    const KString& MakerName() const noexcept { return m_makerName; }

protected:
    // From the audio thread: only noted here, loaded by the update thread.
    void SwitchPreset(int step) override;

private:
    // The update thread's share: a pending slot switch, then a pending
    // step through the preset library.
    static void RunDeferredPresetWork(KAudioPlugin& plugin);
    void StepPendingPreset();
    void StoreIntoCurrentSlot();
    void StoreUpsampling(KStorageContext& context);
    std::atomic<int> m_pendingPresetStep{0};
    std::atomic<KPresetNavigator*> m_presetNavigator{nullptr};

    KActivePresetSlots m_activePresets;
    KString m_productName;
    KString m_makerName;
};
