#pragma once
#include <array>
#include <memory>

#include "foundation/text/KString.h"
#include "plugin/multiparameters/KModulationRange.h"
#include "signal/envelope/KEnvelope.h"

class KEnvelopeComputer;
class KStorageContext;

// One entry of a multiparameter: the target parameter and how the
// multiparameter's position maps onto the target's normalised range. The
// value, maximal value and range are host-automatable through the owning
// multiparameter's automation adapter.
class KMultiParameterParameter {
public:
    // Banks a multiparameter can switch between: enough for any practical
    // set of snapshots, and small enough to keep every entry's bank values
    // in place, so that switching banks never allocates.
    static constexpr int kMaxBanks = 32;

    KMultiParameterParameter();
    ~KMultiParameterParameter();
    KMultiParameterParameter(KMultiParameterParameter&&) noexcept;
    KMultiParameterParameter& operator=(KMultiParameterParameter&&) noexcept;

    // An entry that drives nothing: what a fresh or cleared multiparameter holds.
    static KMultiParameterParameter Unassigned();
    bool IsAssigned() const noexcept { return parameterIndex >= 0 || !parameterName.IsEmpty(); }

    // The target value for position x in normal, switch and trigger modes,
    // with `range` being this entry's own or the first entry's.
    double TargetForPosition(double x, const KModulationRange& range) const noexcept;
    // The target value in banks mode for p = x * (bank count - 1).
    double TargetForBank(double p, int bankCount) const noexcept;

    const KEnvelope& Shape() const noexcept { return m_shape; }
    // Replaces the curve applied to the position before the range mapping.
    void SetShape(KEnvelope shape);

    float Bank(int bank) const noexcept { return m_banks[std::size_t(bank)]; }
    void SetBank(int bank, double value) noexcept;

    // Both directions of the stored form; bank values and "Interpolate"
    // only in banks mode. Values are clamped to 0..1 on loading.
    void Store(KStorageContext& context, bool banksMode, int bankCount);

    int parameterIndex = -1;  // host index of the target, -1 when unresolved
    KString parameterName;    // resolves the index after loading
    bool enabled = true;
    KModulationRange range;
    bool invert = false;
    bool useFirstRange = false;  // take the first entry's range instead of its own
    bool shapeEnabled = false;
    bool interpolate = true;  // between banks, else the nearest bank

private:
    void StoreBanks(KStorageContext& context, int bankCount);

    KEnvelope m_shape;
    std::unique_ptr<KEnvelopeComputer> m_shapeComputer;
    std::array<float, kMaxBanks> m_banks{};
};
