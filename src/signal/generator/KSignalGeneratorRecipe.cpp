#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <vector>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLItem.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/generator/KSignalGeneratorRecipe.h"

// The stored form of a generator: attribute "Mode", then only the keys of
// that mode. Values that are 0 most of the time are written only when not 0.

namespace {

constexpr double kNegligible = 1e-50;

KString Indexed(const char* name, int index) { return KFormatter("{0}{1}") << name << index; }

void SetUnlessZero(KXMLItem& item, const KString& name, double value) {
    if (std::abs(value) >= kNegligible) item.SetDoubleAttribute(name, value);
    else item.RemoveAttribute(name);
}

// List elements carry 6 significant digits.
void SetListElement(KXMLItem& item, const KString& name, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    item.SetAttribute(name, KString::FromBytes(buffer, int(result.ptr - buffer)));
}

double Limited(double value, double minimum, double maximum) {
    return std::isnan(value) ? minimum : std::clamp(value, minimum, maximum);
}

// Binary blocks: the little-endian bytes of 32-bit floats as hexadecimal text.
void StoreFloats(KXMLItem& item, const float* values, int count) { item.SetHexadecimalText(values, count * 4); }

// A block that is short or not hexadecimal counts as missing: false, and
// the values are left as they were.
bool LoadFloats(const KXMLItem& item, float* values, int count) {
    std::vector<float> decoded(static_cast<std::size_t>(count));
    try {
        item.ReadHexadecimalText(decoded.data(), count * 4);
    } catch (const KException&) {
        return false;
    }
    std::copy(decoded.begin(), decoded.end(), values);
    return true;
}

KEnvelope DefaultCustomMorphEnvelope() {
    KEnvelope envelope({0, 1}, {-1, 1});
    std::vector<KEnvelope::Point> points(4);
    const double xs[4] = {0, 0.25, 0.75, 1};
    const double ys[4] = {0, 1, -1, 0};
    for (int k = 0; k < 4; ++k) {
        points[k].x = xs[k];
        points[k].y = ys[k];
        points[k].type = KEnvelopeSegmentType::FourthOrder;
    }
    points.front().flags |= KEnvelope::kFixed;
    points.back().flags |= KEnvelope::kFixed;
    envelope.SetPoints(std::move(points));
    return envelope;
}

}  // namespace

KSignalGeneratorRecipe::KSignalGeneratorRecipe()
    : m_customEnvelope(DefaultCustomMorphEnvelope()),
      m_transformEnvelope({0, 1}, {-1, 1}, 0, 1),  // identity: every phase reads itself
      m_amplitudeEnvelope({-1, 1}, {-1, 1}) {  // identity: every level maps to itself
    for (int k = 0; k < kMaxStepItems; ++k) m_stepItems[k] = k % 2 == 0 ? 1.0f : -1.0f;
}

void KSignalGeneratorRecipe::SplitShapePosition(double position, int& index, double& fraction) noexcept {
    position = Limited(position, 0, kMaxShapePosition);
    if (position >= kMaxShapePosition) {
        index = int(kMaxShapePosition) - 1;
        fraction = 1;
        return;
    }
    index = int(position);
    fraction = position - index;
}

KString KSignalGeneratorRecipe::ModeName(Mode mode) {
    return mode == Mode::Harmonics ? KString("Harmonics") : KString("Normal");
}

void KSignalGeneratorRecipe::EnvelopeChanged(EnvelopeRole role) noexcept {
    static std::atomic<std::uint64_t> lastVersion{0};
    m_envelopeVersions[std::size_t(role)] = ++lastVersion;
}

KEnvelope& KSignalGeneratorRecipe::EnvelopeOf(EnvelopeRole role) noexcept {
    switch (role) {
        case EnvelopeRole::Transform: return m_transformEnvelope;
        case EnvelopeRole::AmplitudeTransform: return m_amplitudeEnvelope;
        case EnvelopeRole::CustomMorph: break;
    }
    return m_customEnvelope;
}

const KEnvelope& KSignalGeneratorRecipe::EnvelopeOf(EnvelopeRole role) const noexcept {
    return const_cast<KSignalGeneratorRecipe*>(this)->EnvelopeOf(role);
}

void KSignalGeneratorRecipe::LoadEnvelope(const KXMLItem& item, EnvelopeRole role) {
    KEnvelope envelope = EnvelopeOf(role);
    envelope.Load(item);
    KEnvelopeComputer().Build(envelope);  // raises for a point type it cannot build
    EnvelopeOf(role) = std::move(envelope);
    EnvelopeChanged(role);
}

void KSignalGeneratorRecipe::Store(KXMLItem& item, const KString& sampleFilePath) const {
    item.SetAttribute("Mode", ModeName(m_mode));
    if (m_mode == Mode::Normal) StoreNormal(item);
    else if (m_mode == Mode::Harmonics) StoreHarmonics(item, sampleFilePath);
    // The generator's preset manager keeps no state of its own in here yet.
}

void KSignalGeneratorRecipe::Load(KXMLItem& item, KString& sampleFilePath) {
    m_mode = Mode::Normal;
    if (item.HasAttribute("Mode") && item.CachedAttribute().EqualsNoCase("Harmonics")) m_mode = Mode::Harmonics;
    if (m_mode == Mode::Normal) LoadNormal(item);
    else LoadHarmonics(item, sampleFilePath);
}

void KSignalGeneratorRecipe::StoreNormal(KXMLItem& item) const {
    item.SetDoubleAttribute("value", m_shapePosition);
    item.SetDoubleAttribute("Smoothness", m_smoothness);
    item.SetDoubleAttribute("EnvelopeDepth", m_envelopeDepth);
    m_customEnvelope.Store(item.GetOrCreateSubItem("Envelope"));

    KXMLItem& step = item.GetOrCreateSubItem("Step");
    step.SetIntegerAttribute("StepItemCount", m_stepItemCount);
    step.SetDoubleAttribute("StepDepth", m_stepDepth);
    step.SetBoolAttribute("StepBaseLowest", m_stepBaseLowest);
    for (int k = 0; k < kMaxStepItems; ++k) {
        SetListElement(step, Indexed("Item", k), m_stepItems[k]);
        step.SetIntegerAttribute(Indexed("Types", k), m_stepTypes[k]);
    }

    if (m_customSamplePresent) {
        KXMLItem& custom = item.GetOrCreateSubItem("CustomSample");
        custom.SetDoubleAttribute("Depth", m_customSampleDepth);
        StoreFloats(custom, m_customSample.data(), kTableLength);
    } else {
        item.RemoveSubItem("CustomSample");
    }

    KXMLItem& operations = item.GetOrCreateSubItem("Operations");
    SetUnlessZero(operations, "Phase", m_phase);
    SetUnlessZero(operations, "Skew", m_skew);
    SetUnlessZero(operations, "FullSkew", m_fullSkew);
    SetUnlessZero(operations, "Halve", m_halve);
    for (int h = 0; h < kShapeHarmonicCount; ++h) {
        operations.SetDoubleAttribute(Indexed("Harmonic", h), m_shapeHarmonicLevels[h]);
        operations.SetDoubleAttribute(Indexed("HarmonicPhase", h), m_shapeHarmonicPhases[h]);
    }
    operations.SetBoolAttribute("TransformEnable", m_transformEnable);
    operations.SetBoolAttribute("AmplitudeTransformEnable", m_amplitudeTransformEnable);
    m_transformEnvelope.Store(operations.GetOrCreateSubItem("Transform"));
    m_amplitudeEnvelope.Store(operations.GetOrCreateSubItem("AmplitudeTransform"));
}

void KSignalGeneratorRecipe::LoadNormal(KXMLItem& item) {
    m_shapePosition = Limited(item.DoubleAttribute("value", m_shapePosition), 0, kMaxShapePosition);
    m_smoothness = Limited(item.DoubleAttribute("Smoothness", m_smoothness), 0, 1);
    m_envelopeDepth = Limited(item.DoubleAttribute("EnvelopeDepth", 0), 0, 1);
    if (KXMLItem* envelope = item.FindSubItem("Envelope")) LoadEnvelope(*envelope, EnvelopeRole::CustomMorph);

    m_stepBaseLowest = true;
    if (KXMLItem* step = item.FindSubItem("Step")) {
        m_stepItemCount = int(std::clamp<std::int64_t>(step->IntegerAttribute("StepItemCount", m_stepItemCount), 1, kMaxStepItems));
        m_stepDepth = Limited(step->DoubleAttribute("StepDepth", m_stepDepth), 0, 1);
        m_stepBaseLowest = step->BoolAttribute("StepBaseLowest", true);
        for (int k = 0; k < kMaxStepItems; ++k) {
            m_stepItems[k] = float(Limited(step->DoubleAttribute(Indexed("Item", k), m_stepItems[k]), -1, 1));
            const std::int64_t type = step->IntegerAttribute(Indexed("Types", k), m_stepTypes[k]);
            m_stepTypes[k] = std::uint8_t(std::clamp<std::int64_t>(type, 0, kStepTypeCount - 1));
        }
    }

    KXMLItem* custom = item.FindSubItem("CustomSample");
    if (custom && LoadFloats(*custom, m_customSample.data(), kTableLength)) {
        m_customSamplePresent = true;
        m_customSampleDepth = Limited(custom->DoubleAttribute("Depth", m_customSampleDepth), 0, 1);
    } else {
        m_customSamplePresent = false;
        m_customSampleDepth = 0;
    }

    m_phase = m_skew = m_fullSkew = m_halve = 0;
    m_transformEnable = m_amplitudeTransformEnable = false;
    if (KXMLItem* operations = item.FindSubItem("Operations")) {
        m_phase = Limited(operations->DoubleAttribute("Phase", 0), -1, 1);
        m_skew = Limited(operations->DoubleAttribute("Skew", 0), -1, 1);
        m_fullSkew = Limited(operations->DoubleAttribute("FullSkew", 0), -1, 1);
        m_halve = Limited(operations->DoubleAttribute("Halve", 0), -1, 1);
        for (int h = 0; h < kShapeHarmonicCount; ++h) {
            double& level = m_shapeHarmonicLevels[h];
            double& phase = m_shapeHarmonicPhases[h];
            level = Limited(operations->DoubleAttribute(Indexed("Harmonic", h), level), -1, 1);
            phase = Limited(operations->DoubleAttribute(Indexed("HarmonicPhase", h), phase), 0, 1);
        }
        m_transformEnable = operations->BoolAttribute("TransformEnable", false);
        m_amplitudeTransformEnable = operations->BoolAttribute("AmplitudeTransformEnable", false);
        if (KXMLItem* transform = operations->FindSubItem("Transform")) LoadEnvelope(*transform, EnvelopeRole::Transform);
        if (KXMLItem* amplitude = operations->FindSubItem("AmplitudeTransform"))
            LoadEnvelope(*amplitude, EnvelopeRole::AmplitudeTransform);
    }
}

void KSignalGeneratorRecipe::StoreHarmonics(KXMLItem& item, const KString& sampleFilePath) const {
    KXMLItem& harmonics = item.GetOrCreateSubItem("Harmonics");
    harmonics.SetIntegerAttribute("Count", m_harmonicCount);
    StoreFloats(harmonics.GetOrCreateSubItem("Magnitudes"), m_magnitudes.data(), m_harmonicCount);
    StoreFloats(harmonics.GetOrCreateSubItem("Phases"), m_phases.data(), m_harmonicCount);
    harmonics.SetDoubleAttribute("Harmonicity", m_harmonicity);
    harmonics.SetDoubleAttribute("Slope", m_slope);
    harmonics.SetDoubleAttribute("Fullness", m_fullness);
    harmonics.SetDoubleAttribute("FundamentalMinimum", m_fundamentalMinimum);
    harmonics.SetIntegerAttribute("Seed", std::int64_t(m_seed));
    harmonics.SetDoubleAttribute("SampleRatio", m_sampleRatio);
    harmonics.SetDoubleAttribute("SamplePosition", m_samplePosition);
    harmonics.SetAttribute("SampleFilePath", sampleFilePath);
    SetUnlessZero(harmonics, "PostProcess.Sharpen", m_sharpen);
    SetUnlessZero(harmonics, "PostProcess.Noise", m_noise);
    SetUnlessZero(harmonics, "PostProcess.Clean", m_clean);
    SetUnlessZero(harmonics, "PostProcess.Compress", m_compress);
    SetUnlessZero(harmonics, "PostProcess.Harmonize", m_harmonize);
}

void KSignalGeneratorRecipe::LoadHarmonics(KXMLItem& item, KString& sampleFilePath) {
    m_sharpen = m_noise = m_clean = m_compress = m_harmonize = 0;
    KXMLItem* harmonics = item.FindSubItem("Harmonics");
    if (!harmonics) return;
    m_harmonicCount = int(std::clamp<std::int64_t>(harmonics->IntegerAttribute("Count", m_harmonicCount), 0, kMaxHarmonics));
    if (KXMLItem* magnitudes = harmonics->FindSubItem("Magnitudes")) {
        LoadFloats(*magnitudes, m_magnitudes.data(), m_harmonicCount);
        if (KXMLItem* phases = harmonics->FindSubItem("Phases")) LoadFloats(*phases, m_phases.data(), m_harmonicCount);
    } else {
        // Older states list the harmonics as attributes X0, X1, ... and Y0, Y1, ...
        for (int k = 0; k < kMaxHarmonics; ++k) {
            m_magnitudes[k] = float(harmonics->DoubleAttribute(Indexed("X", k), m_magnitudes[k]));
            m_phases[k] = float(harmonics->DoubleAttribute(Indexed("Y", k), m_phases[k]));
        }
    }
    for (int k = 0; k < kMaxHarmonics; ++k) {
        m_magnitudes[k] = float(Limited(m_magnitudes[k], 0, 1));
        if (!std::isfinite(m_phases[k])) m_phases[k] = 0;
    }
    m_harmonicity = Limited(harmonics->DoubleAttribute("Harmonicity", m_harmonicity), -1, 1);
    m_slope = Limited(harmonics->DoubleAttribute("Slope", m_slope), -1, 1);
    m_fullness = Limited(harmonics->DoubleAttribute("Fullness", m_fullness), 0, 1);
    m_fundamentalMinimum = Limited(harmonics->DoubleAttribute("FundamentalMinimum", m_fundamentalMinimum), 0, 1);
    m_seed = std::uint64_t(harmonics->IntegerAttribute("Seed", std::int64_t(m_seed)));
    m_sampleRatio = Limited(harmonics->DoubleAttribute("SampleRatio", m_sampleRatio), 0, 1);
    m_samplePosition = Limited(harmonics->DoubleAttribute("SamplePosition", m_samplePosition), 0, 1);
    sampleFilePath = harmonics->Attribute("SampleFilePath", sampleFilePath);
    m_sharpen = Limited(harmonics->DoubleAttribute("PostProcess.Sharpen", 0), -1, 1);
    m_noise = Limited(harmonics->DoubleAttribute("PostProcess.Noise", 0), 0, 1);
    m_clean = Limited(harmonics->DoubleAttribute("PostProcess.Clean", 0), 0, 1);
    m_compress = Limited(harmonics->DoubleAttribute("PostProcess.Compress", 0), 0, 1);
    m_harmonize = Limited(harmonics->DoubleAttribute("PostProcess.Harmonize", 0), 0, 1);
}
