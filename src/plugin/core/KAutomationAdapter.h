#pragma once
#include <atomic>

#include "foundation/core/KObject.h"
#include "foundation/text/KString.h"

class KAudioPlugin;

// Owns a contiguous range of host parameter indices starting at its first
// index and answers the per-index operations with the index local to it.
class KAutomationAdapter : public KEventTarget {
public:
    ~KAutomationAdapter() override = default;

    int FirstIndex() const noexcept { return m_firstIndex; }
    void SetFirstIndex(int index) noexcept { m_firstIndex = index; }
    // The plug-in that lists the adapter, set when it is added.
    KAudioPlugin* Plugin() const noexcept { return m_plugin; }
    void SetPlugin(KAudioPlugin* plugin) noexcept { m_plugin = plugin; }
    // Number of host indices this adapter owns.
    virtual int Count() const { return 1; }

    virtual void SetParameter(int localIndex, double value, bool quiet) {
        (void)localIndex, (void)value, (void)quiet;
    }
    // Sets only when the value differs from the current one by at least 1e-50.
    virtual void SetParameterIfChanged(int localIndex, double value);
    virtual double GetParameter(int localIndex) {
        (void)localIndex;
        return 0;
    }
    virtual KString GetParameterName(int localIndex) = 0;
    virtual KString GetParameterShortName(int localIndex) { return GetParameterName(localIndex); }
    virtual KString GetParameterID(int localIndex) = 0;
    virtual KString GetParameterValueName(int localIndex) {
        (void)localIndex;
        return KString();
    }
    virtual KString GetParameterValueNameFrom01(int localIndex, double value) {
        (void)localIndex, (void)value;
        return KString();
    }
    // The text of the default value (the record's own default for switches,
    // whose host default position is the middle of the range).
    virtual KString GetParameterDefaultValueName(int localIndex) {
        return GetParameterValueNameFrom01(localIndex, GetParameterDefaultValue(localIndex));
    }
    // The 0..1 value a typed text stands for.
    virtual double ParseParameterValueName(int localIndex, const KString& text);
    virtual KString GetParameterUnitsName(int localIndex) {
        (void)localIndex;
        return KString();
    }
    virtual bool IsReported(int localIndex) {
        (void)localIndex;
        return false;
    }
    virtual void SetRedirect(int localIndex, bool on) { (void)localIndex, (void)on; }
    virtual int GetParameterType(int localIndex) {
        (void)localIndex;
        return 1;
    }
    virtual double GetParameterDefaultValue(int localIndex) {
        (void)localIndex;
        return 0.5;
    }
    virtual bool IsRandomizable(int localIndex) {
        (void)localIndex;
        return false;
    }
    // By default a random move of up to `amount` either way (clamped to
    // 0..1), or a fresh random value from amount 1 up, set quietly.
    virtual void Randomize(int localIndex, double amount);
    // Every randomisable local index.
    void Randomize(double amount);

    // Automation out: the host hears of a change made inside the plug-in.
    // SendAutomation sends the current value, SendAutomationValue the given
    // one. SendAutomationValueWithChange first sends a value 1e-10 away, so
    // that a host holding the same value still registers a change.
    void SendAutomation(int localIndex);
    void SendAutomationValue(int localIndex, double value);
    void SendAutomationValueWithChange(int localIndex, double value);
    void SendAllAutomation();

    // The adapter is on the plug-in's pending editor-update list.
    std::atomic<bool>& EditorUpdatePending() noexcept { return m_editorUpdatePending; }
    bool IsTemporary() const noexcept { return m_temporary; }
    void SetTemporary(bool temporary) noexcept { m_temporary = temporary; }

private:
    int m_firstIndex = 0;
    KAudioPlugin* m_plugin = nullptr;
    std::atomic<bool> m_editorUpdatePending{false};
    bool m_temporary = false;
};
