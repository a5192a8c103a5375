#include "plugin/multiparameters/KMultiParameterParameter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "foundation/xml/KStorageContext.h"
#include "plugin/parameters/KUnitOr.h"
#include "signal/envelope/KEnvelopeComputer.h"

KMultiParameterParameter::KMultiParameterParameter() : m_shapeComputer(std::make_unique<KEnvelopeComputer>()) {
    m_shapeComputer->Build(m_shape);
}

KMultiParameterParameter::~KMultiParameterParameter() = default;
KMultiParameterParameter::KMultiParameterParameter(KMultiParameterParameter&&) noexcept = default;
KMultiParameterParameter& KMultiParameterParameter::operator=(KMultiParameterParameter&&) noexcept = default;

KMultiParameterParameter KMultiParameterParameter::Unassigned() {
    KMultiParameterParameter entry;
    entry.enabled = false;
    return entry;
}

double KMultiParameterParameter::TargetForPosition(double x, const KModulationRange& r) const noexcept {
    const double v = shapeEnabled ? std::clamp(m_shapeComputer->Evaluate(x), 0.0, 1.0) : x;
    const double m = invert ? 1 - 2 * v : 2 * v - 1;
    return KMapModulation(r, m);
}

double KMultiParameterParameter::TargetForBank(double p, int bankCount) const noexcept {
    const int last = std::clamp(bankCount, 1, kMaxBanks) - 1;
    p = p >= 0 ? std::min(p, double(last)) : 0.0;  // also when p is no number
    if (!interpolate) return Bank(int(std::floor(p + 0.5)));  // nearest, halves upwards
    const int i = int(std::floor(p));
    const double f = p - i;
    return (1 - f) * Bank(i) + f * Bank(std::min(i + 1, last));
}

void KMultiParameterParameter::SetShape(KEnvelope shape) {
    auto computer = std::make_unique<KEnvelopeComputer>();
    computer->Build(shape);
    m_shape = std::move(shape);
    m_shapeComputer = std::move(computer);
}

void KMultiParameterParameter::SetBank(int bank, double value) noexcept {
    if (bank >= 0 && bank < kMaxBanks) m_banks[std::size_t(bank)] = float(std::clamp(value, 0.0, 1.0));
}

// The range mode is stored under "FullRange" as its index (older states
// knew only a full-range switch, whose two values are the first two modes).
void KMultiParameterParameter::Store(KStorageContext& context, bool banksMode, int bankCount) {
    context.Field("ParameterEnabled", enabled, true);
    context.Field("ParameterName", parameterName);
    context.Field("Value", range.value, 0.5);
    context.Field("MaxValue", range.maxValue, 1.0);
    context.Field("Range", range.range, 1.0);
    int mode = int(range.mode);
    context.Field("FullRange", mode, KStorageContext::LoadDefault{0});
    context.Field("Invert", invert, false);
    context.Field("UseFirstRange", useFirstRange, false);
    context.Field("ShapeEnabled", shapeEnabled, false);
    if (context.Storing()) {
        KStorageContext shape = context.SubItem("Shape");
        m_shape.Store(shape);
    } else {
        range.value = KUnitOr(range.value, 0.5);
        range.maxValue = KUnitOr(range.maxValue, 1.0);
        range.range = KUnitOr(range.range, 1.0);
        // A mode this version does not know is kept: it maps every position
        // to the value, and is written back as it came.
        range.mode = KRangeMode(mode);
        if (KXMLItem* shape = context.Item().FindSubItem("Shape")) {
            KEnvelope loaded;
            KStorageContext shapeContext(*shape, false);
            loaded.Store(shapeContext);
            SetShape(std::move(loaded));
        }
    }
    if (banksMode) {
        context.Field("Interpolate", interpolate, true);
        StoreBanks(context, bankCount);
    }
}

// Bank values are the item's text: little-endian 32-bit floats in
// upper-case hexadecimal.
void KMultiParameterParameter::StoreBanks(KStorageContext& context, int bankCount) {
    const int count = std::clamp(bankCount, 1, kMaxBanks);
    std::array<unsigned char, 4 * kMaxBanks> bytes{};
    if (context.Storing()) {
        for (int b = 0; b < count; ++b) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &m_banks[std::size_t(b)], 4);
            for (int k = 0; k < 4; ++k) bytes[std::size_t(4 * b + k)] = (unsigned char)(bits >> (8 * k));
        }
        context.Item().SetHexadecimalText(bytes.data(), 4 * count);
        return;
    }
    context.Item().ReadHexadecimalText(bytes.data(), 4 * count);
    for (int b = 0; b < count; ++b) {
        std::uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) bits |= std::uint32_t(bytes[std::size_t(4 * b + k)]) << (8 * k);
        float value = 0;
        std::memcpy(&value, &bits, 4);
        SetBank(b, std::isnan(value) ? 0.0 : double(value));
    }
}
