#pragma once
#include "plugin/core/KAutomationAdapter.h"
#include "plugin/multiparameters/KMultiParameter.h"

// The host parameters of one multiparameter: local index 0 is its
// position; then, for each of its entry slots k (1-based in the names),
// the entry's value, maximal value and range:
//   "MultiParameter 1", "MultiParameter 1 Value 1", "MultiParameter 1 Max value 1",
//   "MultiParameter 1 Range 1", "MultiParameter 1 Value 2", ...
// Slots without an entry answer the entry defaults and ignore what the
// host sends.
class KMultiParameterAutomation final : public KAutomationAdapter {
public:
    static constexpr int kParametersPerEntry = 3;
    static constexpr int kCount = 1 + kParametersPerEntry * KMultiParameter::kMaxEntries;

    explicit KMultiParameterAutomation(KMultiParameter& multiParameter) : m_multiParameter(multiParameter) {}

    int Count() const override { return kCount; }
    void SetParameter(int localIndex, double value, bool quiet) override;
    double GetParameter(int localIndex) override;
    KString GetParameterName(int localIndex) override;
    KString GetParameterID(int localIndex) override;
    KString GetParameterValueName(int localIndex) override;
    KString GetParameterValueNameFrom01(int localIndex, double value) override;
    double ParseParameterValueName(int localIndex, const KString& text) override;
    void SetRedirect(int localIndex, bool on) override;
    double GetParameterDefaultValue(int localIndex) override;

private:
    static int EntryOf(int localIndex) noexcept { return (localIndex - 1) / kParametersPerEntry; }
    static int FieldOf(int localIndex) noexcept { return (localIndex - 1) % kParametersPerEntry; }

    KMultiParameter& m_multiParameter;
};
