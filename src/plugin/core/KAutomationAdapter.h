#pragma once
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
    virtual void Randomize(int localIndex, double amount) { (void)localIndex, (void)amount; }

private:
    int m_firstIndex = 0;
};
