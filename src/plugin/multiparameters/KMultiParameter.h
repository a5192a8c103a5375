#pragma once
#include <atomic>
#include <optional>
#include <vector>

#include "foundation/core/KObject.h"
#include "foundation/threading/KLock.h"
#include "plugin/multiparameters/KMultiParameterEnums.h"
#include "plugin/multiparameters/KMultiParameterParameter.h"

class KAudioPlugin;
class KStorageContext;

// One control that drives several parameters of the plug-in at once. Its
// position (a slider, a switch or trigger button, or a bank selector) maps
// onto every enabled entry's target through the entry's range, and the
// targets are set through KAudioPlugin::SetParameter, so any effect works
// with multiparameters without knowing about them.
//
// Threads: the audio thread applies positions (ramps, host automation) and
// the editor thread edits; every access to the settings and entries holds
// the lock shared by all multiparameters of the plug-in. Edits keep their
// work under the lock short (entries have reserved room and fixed bank
// storage), so the audio thread never waits long. An edit does not set the
// targets itself: it asks for the position to be applied at the start of
// the next block, so that the targets are written by the thread that
// processes them.
class KMultiParameter : public KEventTarget {
public:
    // Entries each multiparameter can hold; every one has its three host
    // parameters, so the host's parameter list never changes length.
    static constexpr int kMaxEntries = 16;
    static constexpr int kMinBanks = 2;
    // A ramp time of 0 would divide by zero; a millisecond is as fast as a
    // click-free switch gets.
    static constexpr double kMinSwitchTime = 0.001;

    KMultiParameter(KAudioPlugin& plugin, KLock& lock, int number);

    // 1 to 4.
    int Number() const noexcept { return m_number; }
    // The name, or "Multiparameter " and the number when unnamed.
    KString Label() const;
    // A name starting with "*" hides the multiparameter from the editor.
    bool Hidden() const;

    KString Name() const;
    void SetName(const KString& name);
    KString Group() const;
    void SetGroup(const KString& group);
    KString Info() const;
    void SetInfo(const KString& info);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    double DefaultValue() const;
    void SetDefaultValue(double value);
    KMultiParameterMode Mode() const;
    void SetMode(KMultiParameterMode mode);
    KMultiParameterValueMode ValueMode() const;
    void SetValueMode(KMultiParameterValueMode mode);
    double SwitchTime() const;
    void SetSwitchTime(double seconds);
    int BankCount() const;
    void SetBankCount(int count);

    // The position (in switch and trigger modes the button state, on from
    // 0.5). Setting it applies the position unless `quiet`.
    double SliderValue() const;
    void SetSliderValue(double value, bool quiet = false);
    // While redirected, SetSliderValue writes the alternate value, which
    // the position and the button state are then read from.
    void SetRedirect(bool on);
    double RampPosition() const;
    bool RampRunning() const noexcept { return m_rampRunning.load(std::memory_order_acquire); }

    // The position's text: a percentage, or the first target's value text.
    KString ValueText(double position) const;

    // Sets every enabled entry's target for the current position; with
    // `sendAutomation` the host is then told the targets' new values, from
    // this thread and with the lock released (never from a block: the
    // editor's thread is the one to ask for that).
    void Apply(bool sendAutomation = false);
    // The same, without telling the host, at the start of the next block.
    void RequestApply() noexcept;
    // While disabled nothing is applied at all.
    void SetDisabled(bool disabled) noexcept { m_disabled.store(disabled, std::memory_order_release); }
    bool Disabled() const noexcept { return m_disabled.load(std::memory_order_acquire); }

    // Entries. The list is never empty: a cleared multiparameter holds one
    // unassigned, disabled entry.
    int EntryCount() const;
    // Adds an enabled entry driving the host parameter `target` over its
    // whole range; answers its index. Raises when the multiparameter is full.
    int AddEntry(int target);
    // Refuses to delete the only entry.
    void DeleteEntry(int entry);
    void ClearEntries();
    // Runs `read(const KMultiParameterParameter&)` under the lock.
    template <class Read>
    auto InspectEntry(int entry, Read&& read) const {
        KScopedLock lock(m_lock);
        return read(m_entries.at(std::size_t(entry)));
    }
    // Runs `edit(KMultiParameterParameter&)` under the lock; the targets
    // follow at the next block.
    template <class Edit>
    void EditEntry(int entry, Edit&& edit) {
        {
            KScopedLock lock(m_lock);
            edit(m_entries.at(std::size_t(entry)));
        }
        RequestApply();
    }
    // Points the entry at a host parameter (name and index).
    void SetEntryTarget(int entry, int target);

    // The entries' host parameters: which 0 value, 1 maximal value, 2 range.
    // An entry that does not exist answers nothing and ignores values.
    std::optional<double> EntryParameter(int entry, int which) const;
    void SetEntryParameter(int entry, int which, double value, bool quiet);

    // Processing: the sample rate of the host blocks, and once per block
    // the requested application, the button check and the ramp step of
    // switch and trigger modes.
    void SetSampleRate(double rate);
    void PrepareForProcessing(int sampleCount);

    // Back to the defaults: unnamed, normal mode, one unassigned entry.
    void Reset();
    // Nothing worth storing: no assignment, or just one disabled entry.
    bool IsUnused() const;
    // Both directions of the stored form. Loading starts from the defaults
    // and resolves the targets by "ParameterName".
    void Store(KStorageContext& context);
    // Takes the bank values of bank `bank` from the targets' current values.
    void CaptureBank(int bank);

private:
    bool UsesRamp() const noexcept;
    double WorkingSlider() const noexcept { return m_redirect ? m_alternateSlider : m_slider; }
    const KModulationRange& RangeOf(std::size_t entry) const noexcept;
    void ApplyRanges(double x);
    void ApplyBanks(double x);
    double TargetOfFirstEntry(double x) const;
    void ResetRamp() noexcept;
    void PushButtonIfChanged();
    void StepRamp(int sampleCount);
    std::vector<KMultiParameterParameter> LoadEntries(KStorageContext& context, bool banksMode, int bankCount);
    template <class T>
    T GetUnderLock(const T& field) const;
    template <class T>
    void SetUnderLock(T& field, T value);

    KAudioPlugin& m_plugin;
    KLock& m_lock;
    const int m_number;

    std::vector<KMultiParameterParameter> m_entries;
    KString m_name;
    KString m_group;
    KString m_info;
    bool m_enabled = false;
    double m_defaultValue = 0.5;
    KMultiParameterMode m_mode = KMultiParameterMode::Normal;
    KMultiParameterValueMode m_valueMode = KMultiParameterValueMode::Percents;
    double m_switchTime = 1;
    int m_bankCount = 4;

    double m_slider = 0.5;
    double m_alternateSlider = 0.5;
    bool m_redirect = false;
    double m_rampPosition = 0;
    std::atomic<bool> m_rampRunning{false};
    double m_rampDirection = 1;
    double m_sampleRate = 44100;
    bool m_applying = false;
    std::atomic<bool> m_pendingApply{false};
    std::atomic<bool> m_disabled{false};
};
