#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLItem.h"
#include "signal/generator/KSignalGenerator.h"

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

}  // namespace

void KSignalGenerator::LoadEnvelope(const KXMLItem& item, EnvelopeRole role) {
    KEnvelope envelope = EnvelopeOf(role);
    envelope.Load(item);
    ComputerOf(role).Build(envelope);  // raises for a point type it cannot build, before anything changes
    EnvelopeOf(role) = std::move(envelope);
}

void KSignalGenerator::Store(KXMLItem& item) {
    KScopedLock hold(m_lockPointer);
    item.SetAttribute("Mode", ModeName(m_mode));
    if (m_mode == Mode::Normal) StoreNormal(item);
    else if (m_mode == Mode::Harmonics) StoreHarmonics(item);
    // The generator's preset manager keeps no state of its own in here yet.
}

void KSignalGenerator::Load(KXMLItem& item) {
    {
        KScopedLock hold(m_lockPointer);
        m_mode = Mode::Normal;
        if (item.HasAttribute("Mode") && item.CachedAttribute().EqualsNoCase("Harmonics")) m_mode = Mode::Harmonics;
        if (m_mode == Mode::Normal) LoadNormal(item);
        else LoadHarmonics(item);
        m_analyse = false;
        m_dirty.store(false, std::memory_order_release);
        RebuildLocked();
    }
    NotifyOwner();
}

void KSignalGenerator::StoreNormal(KXMLItem& item) const {
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

void KSignalGenerator::LoadNormal(KXMLItem& item) {
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

void KSignalGenerator::StoreHarmonics(KXMLItem& item) const {
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
    harmonics.SetAttribute("SampleFilePath", m_sampleFilePath);
    SetUnlessZero(harmonics, "PostProcess.Sharpen", m_sharpen);
    SetUnlessZero(harmonics, "PostProcess.Noise", m_noise);
    SetUnlessZero(harmonics, "PostProcess.Clean", m_clean);
    SetUnlessZero(harmonics, "PostProcess.Compress", m_compress);
    SetUnlessZero(harmonics, "PostProcess.Harmonize", m_harmonize);
}

void KSignalGenerator::LoadHarmonics(KXMLItem& item) {
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
    const double position = Limited(harmonics->DoubleAttribute("SamplePosition", m_samplePosition), 0, 1);
    const KString path = harmonics->Attribute("SampleFilePath", m_sampleFilePath);
    if (path != m_sampleFilePath) {
        m_samplePosition = position;
        ReadSampleFile(path);
    } else if (position != m_samplePosition) {
        m_samplePosition = position;
        m_analysis = KSampleAnalyser::Analyse(m_sample.get(), m_samplePosition);
    }
    m_sharpen = Limited(harmonics->DoubleAttribute("PostProcess.Sharpen", 0), -1, 1);
    m_noise = Limited(harmonics->DoubleAttribute("PostProcess.Noise", 0), 0, 1);
    m_clean = Limited(harmonics->DoubleAttribute("PostProcess.Clean", 0), 0, 1);
    m_compress = Limited(harmonics->DoubleAttribute("PostProcess.Compress", 0), 0, 1);
    m_harmonize = Limited(harmonics->DoubleAttribute("PostProcess.Harmonize", 0), 0, 1);
}
