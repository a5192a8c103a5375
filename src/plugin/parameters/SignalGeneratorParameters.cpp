#include "plugin/parameters/SignalGeneratorParameters.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/KFormatter.h"
#include "foundation/text/NumberText.h"
#include "plugin/parameters/KTextRules.h"
#include "signal/generator/KSignalGenerator.h"
#include "signal/generator/KSignalGeneratorShapes.h"

using Control = KSignalGenerator::Control;

ParameterSignalGeneratorBase::ParameterSignalGeneratorBase(KAudioPlugin* owner, KSignalGenerator& generator,
                                                           KString name, KString groupTitle)
    : m_generator(generator), m_owner(owner), m_name(std::move(name)), m_groupTitle(std::move(groupTitle)) {}

void KSignalGeneratorLink::OnSpecialParameterChanged() {
    if (m_quiet.load() > 0) return;
    for (KAudioPlugin::AutomationAdapter* wrapper : m_wrappers) m_plugin.NeedUpdateEditor(*wrapper);
}

KString ParameterSignalGeneratorBase::GetParameterName(int localIndex) {
    return KString(m_name).Append(u' ').Append(SubName(localIndex));
}

KString ParameterSignalGeneratorBase::GetParameterID(int localIndex) {
    KString id(m_name);
    if (!m_groupTitle.IsEmpty()) id.Append(u' ').Append(m_groupTitle);
    return id.Append(u' ').Append(SubName(localIndex));
}

void ParameterSignalGeneratorBase::SetParameter(int localIndex, double value, bool quiet) {
    if (std::isnan(value)) return;
    value = std::clamp(value, 0.0, 1.0);
    if (!m_link) {
        Write(localIndex, value);
        if (!quiet && m_owner) m_owner->NeedUpdateEditor(FirstIndex() + localIndex);
    } else if (quiet) {
        KSignalGeneratorLink::QuietWrite hold(*m_link);
        Write(localIndex, value);
    } else {
        Write(localIndex, value);  // the generator tells the link
    }
}

double ParameterSignalGeneratorBase::GetParameter(int localIndex) { return Read(localIndex); }

KString ParameterSignalGeneratorBase::GetParameterValueName(int localIndex) {
    return Text(localIndex, Read(localIndex));
}

KString ParameterSignalGeneratorBase::GetParameterValueNameFrom01(int localIndex, double value) {
    return Text(localIndex, value);
}

// The parsers answer NaN for a text without a number: the value stays.
double ParameterSignalGeneratorBase::ParseParameterValueName(int localIndex, const KString& text) {
    const double position = Parse(localIndex, text);
    return std::isnan(position) ? Read(localIndex) : std::clamp(position, 0.0, 1.0);
}

double ParameterSignalGeneratorBase::GetParameterDefaultValue(int localIndex) { return DefaultValue(localIndex); }

KString ParameterSignalGeneratorBase::Text(int, double value) const { return FractionPercent(value); }

double ParameterSignalGeneratorBase::Parse(int, const KString& text) const { return ParseFractionPercent(text); }

KString ParameterSignalGeneratorBase::BipolarPercent(double value) {
    return KFormatter("{0.2}%") << (2 * value - 1) * 100;
}
KString ParameterSignalGeneratorBase::FractionPercent(double value) { return KFormatter("{0.2}%") << value * 100; }
double ParameterSignalGeneratorBase::ParseBipolarPercent(const KString& text) {
    return (ParseNumber(text) * 0.01 + 1) * 0.5;
}
double ParameterSignalGeneratorBase::ParseFractionPercent(const KString& text) { return ParseNumber(text) * 0.01; }
double ParameterSignalGeneratorBase::ParseNumber(const KString& text) {
    double number;
    return KNumberText::TryParseDouble(text, number) ? number : std::nan("");
}

namespace {

// "Shape", "Custom morph", "Step sequencer", "Smoothness".
class ParameterSignalGeneratorT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    int Count() const override { return 4; }
    bool IsRandomizable(int) override { return true; }
    void Randomize(int, double amount) override { m_generator.RandomizeShape(amount); }

protected:
    static constexpr Control kControls[] = {Control::ShapePosition, Control::EnvelopeDepth, Control::StepDepth,
                                            Control::Smoothness};
    KString SubName(int i) const override {
        static const KString kNames[] = {"Shape", "Custom morph", "Step sequencer", "Smoothness"};
        return kNames[i];
    }
    double Scale(int i) const { return i == 0 ? KSignalGenerator::kMaxShapePosition : 1.0; }
    double Read(int i) const override { return m_generator.Get(kControls[i]) / Scale(i); }
    void Write(int i, double v) override { m_generator.Set(kControls[i], v * Scale(i)); }
    KString Text(int i, double v) const override {
        return i == 0 ? KSignalGenerator::ShapeText(v * KSignalGenerator::kMaxShapePosition) : FractionPercent(v);
    }
    double Parse(int i, const KString& text) const override {
        return i == 0 ? ParseNumber(text) / KSignalGenerator::kMaxShapePosition : ParseFractionPercent(text);
    }
    double DefaultValue(int i) const override { return i == 0 ? 5.0 / 15 : 0.0; }  // shape "Sine", rest off
};

// "Value 1" .. "Value 32": step item values -1..1.
class ParameterSignalGeneratorStepSequencerT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    int Count() const override { return KSignalGenerator::kMaxStepItems; }

protected:
    KString SubName(int i) const override { return KFormatter("Value {0}") << i + 1; }
    double Read(int i) const override { return (m_generator.StepItem(i) + 1) * 0.5; }
    void Write(int i, double v) override { m_generator.SetStepItem(i, 2 * v - 1); }
    KString Text(int, double v) const override { return BipolarPercent(v); }
    double Parse(int, const KString& text) const override { return ParseBipolarPercent(text); }
    double DefaultValue(int i) const override { return i % 2 == 0 ? 1.0 : 0.0; }  // alternating 1, -1
};

// "Shape 1" .. "Shape 32": step item types 0..36, shown by name.
class ParameterSignalGeneratorStepSequencerTypesT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    int Count() const override { return KSignalGenerator::kMaxStepItems; }

protected:
    static constexpr int kTypes = KSignalGenerator::kStepTypeCount;
    static int TypeOf(double v) { return std::min(kTypes - 1, int(KTextRules::RoundHalfUp(v * kTypes))); }
    KString SubName(int i) const override { return KFormatter("Shape {0}") << i + 1; }
    double Read(int i) const override { return double(m_generator.StepType(i)) / kTypes; }
    void Write(int i, double v) override { m_generator.SetStepType(i, TypeOf(v)); }
    KString Text(int, double v) const override { return KSignalGeneratorShapes::StepName(TypeOf(v)); }
    // A step shape name (the first of that name) or its index.
    double Parse(int, const KString& text) const override {
        for (int type = 0; type < kTypes; ++type)
            if (KSignalGeneratorShapes::StepName(type).EqualsNoCase(text.Trimmed())) return double(type) / kTypes;
        return ParseNumber(text) / kTypes;
    }
    double DefaultValue(int) const override { return 0.0; }
};

// "Phase", "Skew", "Full skew", "Halve": -1..1.
class ParameterSignalGeneratorTransformationsT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    int Count() const override { return 4; }

protected:
    static constexpr Control kControls[] = {Control::Phase, Control::Skew, Control::FullSkew, Control::Halve};
    KString SubName(int i) const override {
        static const KString kNames[] = {"Phase", "Skew", "Full skew", "Halve"};
        return kNames[i];
    }
    double Read(int i) const override { return (m_generator.Get(kControls[i]) + 1) * 0.5; }
    void Write(int i, double v) override { m_generator.Set(kControls[i], 2 * v - 1); }
    KString Text(int, double v) const override { return BipolarPercent(v); }
    double Parse(int, const KString& text) const override { return ParseBipolarPercent(text); }
    double DefaultValue(int) const override { return 0.5; }
};

// "Level n" (-1..1) and "Phase n" (0..1) of the shape harmonics 1..7.
class ParameterSignalGeneratorShapeHarmonicsT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    int Count() const override { return 2 * KSignalGenerator::kShapeHarmonicCount; }

protected:
    static bool IsLevel(int i) { return i % 2 == 0; }
    KString SubName(int i) const override {
        return KFormatter(IsLevel(i) ? "Level {0}" : "Phase {0}") << i / 2 + 1;
    }
    double Read(int i) const override {
        return IsLevel(i) ? (m_generator.ShapeHarmonicLevel(i / 2) + 1) * 0.5 : m_generator.ShapeHarmonicPhase(i / 2);
    }
    void Write(int i, double v) override {
        if (IsLevel(i)) m_generator.SetShapeHarmonicLevel(i / 2, 2 * v - 1);
        else m_generator.SetShapeHarmonicPhase(i / 2, v);
    }
    KString Text(int i, double v) const override { return IsLevel(i) ? BipolarPercent(v) : FractionPercent(v); }
    double Parse(int i, const KString& text) const override {
        return IsLevel(i) ? ParseBipolarPercent(text) : ParseFractionPercent(text);
    }
    double DefaultValue(int i) const override { return IsLevel(i) ? 0.5 : 0.0; }
};

// The harmonics generator, its post-processors, then level and phase of
// harmonics 1..64.
class ParameterSignalGeneratorHarmonicsT final : public ParameterSignalGeneratorBase {
public:
    using ParameterSignalGeneratorBase::ParameterSignalGeneratorBase;
    static constexpr int kControlCount = 10;
    static constexpr int kHarmonicCount = 64;
    int Count() const override { return kControlCount + 2 * kHarmonicCount; }
    bool IsRandomizable(int) override { return true; }
    void Randomize(int, double amount) override { m_generator.RandomizeHarmonics(amount); }

protected:
    struct ControlEntry {
        const char* name;
        Control control;
        bool bipolar;
        double defaultValue;  // of the field
    };
    static constexpr ControlEntry kControls[kControlCount] = {
        {"Generator - Harmonicity", Control::Harmonicity, true, 0.5},
        {"Generator - Slope", Control::Slope, true, -0.5},
        {"Generator - Fullness", Control::Fullness, false, 0.5},
        {"Generator - Fundamental minimum", Control::FundamentalMinimum, false, 0.75},
        {"Generator - Sample ratio", Control::SampleRatio, false, 1.0},
        {"Post-processor - Sharpen", Control::Sharpen, true, 0.0},
        {"Post-processor - Noise", Control::Noise, false, 0.0},
        {"Post-processor - Clean", Control::Clean, false, 0.0},
        {"Post-processor - Compress", Control::Compress, false, 0.0},
        {"Post-processor - Harmonize", Control::Harmonize, false, 0.0},
    };
    static bool IsControl(int i) { return i < kControlCount; }
    static int Harmonic(int i) { return (i - kControlCount) / 2; }
    static bool IsLevel(int i) { return (i - kControlCount) % 2 == 0; }

    KString SubName(int i) const override {
        if (IsControl(i)) return KString::FromBytes(kControls[i].name);
        return KFormatter(IsLevel(i) ? "Harmonics - Level {0}" : "Harmonics - Phase {0}") << Harmonic(i) + 1;
    }
    double Read(int i) const override {
        if (IsControl(i)) {
            const double field = m_generator.Get(kControls[i].control);
            return kControls[i].bipolar ? (field + 1) * 0.5 : field;
        }
        return IsLevel(i) ? m_generator.HarmonicMagnitude(Harmonic(i)) : m_generator.HarmonicPhase(Harmonic(i));
    }
    void Write(int i, double v) override {
        if (IsControl(i)) m_generator.Set(kControls[i].control, kControls[i].bipolar ? 2 * v - 1 : v);
        else if (IsLevel(i)) m_generator.SetHarmonicMagnitude(Harmonic(i), v);
        else m_generator.SetHarmonicPhase(Harmonic(i), v);
    }
    KString Text(int i, double v) const override {
        return IsControl(i) && kControls[i].bipolar ? BipolarPercent(v) : FractionPercent(v);
    }
    double Parse(int i, const KString& text) const override {
        return IsControl(i) && kControls[i].bipolar ? ParseBipolarPercent(text) : ParseFractionPercent(text);
    }
    double DefaultValue(int i) const override {
        if (IsControl(i)) return kControls[i].bipolar ? (kControls[i].defaultValue + 1) * 0.5 : kControls[i].defaultValue;
        return IsLevel(i) && Harmonic(i) == 0 ? 1.0 : 0.0;  // the fundamental alone
    }
};

}  // namespace

std::vector<std::unique_ptr<KAudioPlugin::AutomationAdapter>> MakeSignalGeneratorParameters(
    KAudioPlugin* owner, KSignalGenerator& generator, const KString& name, KSignalGeneratorLink* link) {
    std::vector<std::unique_ptr<KAudioPlugin::AutomationAdapter>> wrappers;
    wrappers.push_back(std::make_unique<ParameterSignalGeneratorT>(owner, generator, name, KString()));
    wrappers.push_back(std::make_unique<ParameterSignalGeneratorStepSequencerT>(owner, generator, name, "Step sequencer"));
    wrappers.push_back(
        std::make_unique<ParameterSignalGeneratorStepSequencerTypesT>(owner, generator, name, "Step sequencer"));
    wrappers.push_back(
        std::make_unique<ParameterSignalGeneratorTransformationsT>(owner, generator, name, "Transformations"));
    wrappers.push_back(
        std::make_unique<ParameterSignalGeneratorShapeHarmonicsT>(owner, generator, name, "Shape harmonics"));
    wrappers.push_back(std::make_unique<ParameterSignalGeneratorHarmonicsT>(owner, generator, name, KString()));
    if (link)
        for (auto& wrapper : wrappers) {
            static_cast<ParameterSignalGeneratorBase&>(*wrapper).SetLink(link);
            link->Add(*wrapper);
        }
    return wrappers;
}
