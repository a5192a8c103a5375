#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "foundation/core/KException.h"
#include "foundation/text/NumberText.h"
#include "foundation/xml/KStorageContext.h"
#include "signal/generator/KSignalGeneratorRecipe.h"

// The stored form of a generator: attribute "Mode", then only the keys of
// that mode, in one operation for both directions. Loaded values go through
// the setters, which keep them in range. Values that are 0 most of the time
// are written only when not 0, and a missing one loads as 0.

namespace {

using Control = KSignalGeneratorRecipe::Control;

// About eighty of these names per generator on every save and load: a plain
// printf, not the general formatter.
KString Indexed(const char* name, int index) { return KString::Printf("%s%d", name, index); }

// List elements carry 6 significant digits; always written, a missing one
// leaves the element unchanged.
void ListElement(KStorageContext& context, const KString& name, double& value) {
    if (context.Loading()) {
        context.Field(name, value);
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    context.Item().SetAttribute(name, KString::FromBytes(buffer, int(result.ptr - buffer)));
}

// Binary blocks: the little-endian bytes of 32-bit floats as hexadecimal
// text. Loading a block that is short or not hexadecimal answers false and
// leaves the values as they were.
bool FloatBlock(KStorageContext& context, float* values, int count) {
    if (context.Storing()) {
        context.Item().SetHexadecimalText(values, count * 4);
        return true;
    }
    std::vector<float> decoded(static_cast<std::size_t>(count));
    try {
        context.Item().ReadHexadecimalText(decoded.data(), count * 4);
    } catch (const KException&) {
        return false;
    }
    std::copy(decoded.begin(), decoded.end(), values);
    return true;
}

}  // namespace

void KSignalGeneratorRecipe::StoreControl(KStorageContext& context, const KString& name, Control control) {
    context.Property(name, Get(control), [&](double value) { Set(control, value); });
}

void KSignalGeneratorRecipe::StoreControlUnlessZero(KStorageContext& context, const KString& name, Control control) {
    context.Property(name, Get(control), [&](double value) { Set(control, value); }, 0.0);
}

void KSignalGeneratorRecipe::StoreEnvelope(KStorageContext& context, EnvelopeRole role) {
    KEnvelope envelope = EnvelopeOf(role);
    envelope.Store(context);
    if (context.Loading()) SetEnvelope(role, envelope);
}

void KSignalGeneratorRecipe::Store(KStorageContext& context, KString& sampleFilePath) {
    // A missing or unknown mode is "Normal".
    KString mode = ModeName(m_mode);
    context.Field("Mode", mode, KString());
    if (context.Loading()) SetMode(mode.EqualsNoCase("Harmonics") ? Mode::Harmonics : Mode::Normal);
    if (m_mode == Mode::Normal) StoreNormal(context);
    else StoreHarmonics(context, sampleFilePath);
    // The generator's preset manager keeps no state of its own in here yet.
}

void KSignalGeneratorRecipe::StoreNormal(KStorageContext& context) {
    StoreControl(context, "value", Control::ShapePosition);
    StoreControl(context, "Smoothness", Control::Smoothness);
    context.Property("EnvelopeDepth", m_envelopeDepth, [&](double v) { Set(Control::EnvelopeDepth, v); },
                     KStorageContext::LoadDefault{0.0});
    context.OptionalSubItem("Envelope", true, [&](KStorageContext& c) { StoreEnvelope(c, EnvelopeRole::CustomMorph); });
    if (context.Loading()) SetStepBaseLowest(true);
    context.OptionalSubItem("Step", true, [&](KStorageContext& c) { StoreSteps(c); });
    StoreCustomSample(context);
    StoreOperations(context);
}

void KSignalGeneratorRecipe::StoreSteps(KStorageContext& context) {
    context.Property("StepItemCount", int(m_stepItemCount), [&](int n) { SetStepItemCount(n); });
    StoreControl(context, "StepDepth", Control::StepDepth);
    context.Property("StepBaseLowest", m_stepBaseLowest, [&](bool on) { SetStepBaseLowest(on); },
                     KStorageContext::LoadDefault{true});
    for (int k = 0; k < kMaxStepItems; ++k) {
        double item = m_stepItems[k];
        ListElement(context, Indexed("Item", k), item);
        int type = m_stepTypes[k];
        context.Field(Indexed("Types", k), type);
        if (context.Storing()) continue;
        SetStepItem(k, item);
        SetStepType(k, type);
    }
}

// A missing or unreadable block clears the custom sample and its depth.
void KSignalGeneratorRecipe::StoreCustomSample(KStorageContext& context) {
    bool loaded = false;
    context.OptionalSubItem("CustomSample", m_customSamplePresent, [&](KStorageContext& c) {
        Buffer samples = m_customSample;
        if (!FloatBlock(c, samples.data(), kTableLength)) return;
        loaded = true;
        if (c.Loading()) SetCustomSample(samples.data());
        StoreControl(c, "Depth", Control::CustomSampleDepth);
    });
    if (context.Loading() && !loaded) ClearCustomSample();
}

void KSignalGeneratorRecipe::StoreOperations(KStorageContext& context) {
    if (context.Loading()) {
        for (Control control : {Control::Phase, Control::Skew, Control::FullSkew, Control::Halve}) Set(control, 0);
        SetTransformEnabled(false);
        SetAmplitudeTransformEnabled(false);
    }
    context.OptionalSubItem("Operations", true, [&](KStorageContext& c) {
        StoreControlUnlessZero(c, "Phase", Control::Phase);
        StoreControlUnlessZero(c, "Skew", Control::Skew);
        StoreControlUnlessZero(c, "FullSkew", Control::FullSkew);
        StoreControlUnlessZero(c, "Halve", Control::Halve);
        for (int h = 0; h < kShapeHarmonicCount; ++h) {
            c.Property(Indexed("Harmonic", h), m_shapeHarmonicLevels[h], [&](double v) { SetShapeHarmonicLevel(h, v); });
            c.Property(Indexed("HarmonicPhase", h), m_shapeHarmonicPhases[h],
                       [&](double v) { SetShapeHarmonicPhase(h, v); });
        }
        c.Property("TransformEnable", m_transformEnable, [&](bool on) { SetTransformEnabled(on); },
                   KStorageContext::LoadDefault{false});
        c.Property("AmplitudeTransformEnable", m_amplitudeTransformEnable,
                   [&](bool on) { SetAmplitudeTransformEnabled(on); }, KStorageContext::LoadDefault{false});
        c.OptionalSubItem("Transform", true, [&](KStorageContext& e) { StoreEnvelope(e, EnvelopeRole::Transform); });
        c.OptionalSubItem("AmplitudeTransform", true,
                          [&](KStorageContext& e) { StoreEnvelope(e, EnvelopeRole::AmplitudeTransform); });
    });
}

void KSignalGeneratorRecipe::StoreHarmonics(KStorageContext& context, KString& sampleFilePath) {
    if (context.Loading())
        for (Control control : {Control::Sharpen, Control::Noise, Control::Clean, Control::Compress, Control::Harmonize})
            Set(control, 0);
    context.OptionalSubItem("Harmonics", true, [&](KStorageContext& c) {
        c.Property("Count", int(m_harmonicCount), [&](int n) { SetHarmonicCount(n); });
        StoreHarmonicLevels(c);
        StoreControl(c, "Harmonicity", Control::Harmonicity);
        StoreControl(c, "Slope", Control::Slope);
        StoreControl(c, "Fullness", Control::Fullness);
        StoreControl(c, "FundamentalMinimum", Control::FundamentalMinimum);
        c.Property("Seed", std::int64_t(m_seed), [&](std::int64_t seed) { SetSeed(std::uint64_t(seed)); });
        StoreControl(c, "SampleRatio", Control::SampleRatio);
        StoreSample(c, sampleFilePath);
        StoreControlUnlessZero(c, "PostProcess.Sharpen", Control::Sharpen);
        StoreControlUnlessZero(c, "PostProcess.Noise", Control::Noise);
        StoreControlUnlessZero(c, "PostProcess.Clean", Control::Clean);
        StoreControlUnlessZero(c, "PostProcess.Compress", Control::Compress);
        StoreControlUnlessZero(c, "PostProcess.Harmonize", Control::Harmonize);
    });
}

// Magnitudes and phases as binary blocks of Count floats; older states list
// them as attributes X0, X1, ... and Y0, Y1, ... instead.
void KSignalGeneratorRecipe::StoreHarmonicLevels(KStorageContext& context) {
    std::array<float, kMaxHarmonics> magnitudes = m_magnitudes;
    std::array<float, kMaxHarmonics> phases = m_phases;
    const bool blocks = context.OptionalSubItem("Magnitudes", true, [&](KStorageContext& c) {
        FloatBlock(c, magnitudes.data(), m_harmonicCount);
    });
    if (blocks) {
        context.OptionalSubItem("Phases", true, [&](KStorageContext& c) { FloatBlock(c, phases.data(), m_harmonicCount); });
    } else {
        for (int k = 0; k < kMaxHarmonics; ++k) {
            context.Legacy(Indexed("X", k), [&](const KString& text) { magnitudes[k] = float(KNumberText::ParseDouble(text)); });
            context.Legacy(Indexed("Y", k), [&](const KString& text) { phases[k] = float(KNumberText::ParseDouble(text)); });
        }
    }
    if (context.Storing()) return;
    for (int k = 0; k < kMaxHarmonics; ++k) {
        SetHarmonicMagnitude(k, magnitudes[k]);
        SetHarmonicPhase(k, std::isfinite(phases[k]) ? phases[k] : 0.0f);
    }
}

// The caller reads and analyses the file at the path.
void KSignalGeneratorRecipe::StoreSample(KStorageContext& context, KString& sampleFilePath) {
    double position = m_samplePosition;
    context.Field("SamplePosition", position);
    context.Field("SampleFilePath", sampleFilePath);
    if (context.Loading()) SetSamplePosition(position);
}
