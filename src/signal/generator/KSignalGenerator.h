#pragma once
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "foundation/threading/KLock.h"
#include "foundation/text/KString.h"
#include "signal/envelope/KEnvelope.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/analysis/KRealFft.h"
#include "signal/analysis/KSampleAnalyser.h"
#include "signal/generator/KSignalGeneratorSmoother.h"

class KXMLItem;

// One period of a periodic waveform as a table of 8192 samples, read at any
// phase by Sample. In mode "Normal" the period is a morph of basic shapes,
// the custom morph envelope, the step sequence and an imported custom sample,
// reshaped by a chain of operations; in mode "Harmonics" it is synthesised
// from up to 256 harmonic magnitudes and phases.
//
// Edits only change settings and mark the generator dirty; the owner's
// UpdateIfChanged rebuilds the table at the start of its next block. Every
// edit and every rebuild holds the generator's lock, which the owner points
// at its processing lock, so a table never changes in the middle of a block.
class KSignalGenerator {
public:
    static constexpr int kTableLength = 8192;
    static constexpr int kMaxHarmonics = 256;
    static constexpr int kMaxStepItems = 32;
    static constexpr int kStepTypeCount = 37;
    static constexpr int kShapeHarmonicCount = 7;  // the multiples 2 to 8
    static constexpr double kMaxShapePosition = 15;

    enum class Mode : std::int32_t { Normal = 0, Harmonics = 1 };

    // The plain numeric settings, each with its range.
    enum class Control {
        ShapePosition,       // "value", 0..15
        EnvelopeDepth,       // custom morph amount, 0..1
        StepDepth,           // 0..1
        CustomSampleDepth,   // "Depth", 0..1, held at 0 without a custom sample
        Smoothness,          // 0..1
        Phase,               // -1..1
        Skew,                // -1..1
        FullSkew,            // -1..1
        Halve,               // -1..1
        Harmonicity,         // -1..1
        Slope,               // -1..1
        Fullness,            // 0..1
        FundamentalMinimum,  // 0..1
        SampleRatio,         // 0..1
        Sharpen,             // -1..1
        Noise,               // 0..1
        Clean,               // 0..1
        Compress,            // 0..1
        Harmonize,           // 0..1
    };
    static constexpr int kControlCount = int(Control::Harmonize) + 1;

    enum class EnvelopeRole { CustomMorph, Transform, AmplitudeTransform };

    // Told after every edit, outside the lock.
    class Owner {
    public:
        virtual void OnSpecialParameterChanged() = 0;

    protected:
        ~Owner() = default;
    };

    KSignalGenerator();
    KSignalGenerator(const KSignalGenerator&) = delete;
    KSignalGenerator& operator=(const KSignalGenerator&) = delete;

    // The waveform at any phase, in cycles (wraps every 1, also below 0).
    double Sample(double phase) const noexcept {
        // From 2^52 up every double is a whole number, so bounding the phase
        // there keeps its fraction while the conversions below stay defined;
        // a NaN lands on the bound and reads the start of the table.
        constexpr double kWholeNumbers = 0x1p52;
        const double bounded = std::max(-kWholeNumbers, std::min(kWholeNumbers, phase));
        double cycle = bounded - static_cast<double>(static_cast<std::int64_t>(bounded));  // -1 < cycle < 1
        cycle += cycle < 0 ? 1.0 : 0.0;  // 0 <= cycle <= 1: a tiny negative fraction rounds up to 1
        const double x = cycle * kTableLength;
        const auto whole = static_cast<std::int32_t>(x);
        const float fraction = static_cast<float>(x - static_cast<double>(whole));
        const std::int32_t i = whole & (kTableLength - 1);  // 8192 (fraction 0) reads entry 0
        return (1.0f - fraction) * m_table[i] + fraction * m_table[i + 1];
    }

    // Rebuilds when settings changed since the last rebuild; true when the
    // table changed since the previous call, by this rebuild or by one that
    // ran elsewhere (Load, Randomize, Reset), so that the owner can fade the
    // step the change makes.
    bool UpdateIfChanged();
    void Rebuild();
    // Back to the defaults, keeping the shape position, the rate fields, the
    // envelopes, the step sequence and the sample path; draws a new seed.
    void Reset();

    // The stored form, both ways; loading ends with a rebuild.
    void Store(KStorageContext& context);

    // Randomisation of the shape group ("Shape", "Custom morph", "Step
    // sequencer") and of the harmonics generator, by an amount from 0 to 1.
    void RandomizeShape(double amount);
    void RandomizeHarmonics(double amount);
    void Randomize(double amount);

    // The lock guarding the generator; null selects its own lock.
    void SetLock(KSynchronizer* lock) noexcept { m_lockPointer = lock ? lock : &m_ownLock; }
    KSynchronizer* Lock() const noexcept { return m_lockPointer; }
    void SetOwner(Owner* owner) noexcept { m_owner = owner; }

    // 8193 entries; the last repeats the first.
    const float* Table() const noexcept { return m_table.data(); }
    bool IsDirty() const noexcept { return m_dirty.load(std::memory_order_acquire); }
    // True from an edit until the rebuild that takes it up has finished.
    bool IsRebuildPending() const noexcept { return m_rebuildPending.load(std::memory_order_acquire); }

    double Get(Control control) const noexcept;
    void Set(Control control, double value);
    static double Minimum(Control control) noexcept;
    static double Maximum(Control control) noexcept;

    Mode GetMode() const noexcept { return m_mode; }
    void SetMode(Mode mode);
    static KString ModeName(Mode mode);

    // Integer part and fraction of the shape position as the rebuild reads it.
    static void SplitShapePosition(double position, int& index, double& fraction) noexcept;
    // "Sine", or "70% Sine, 30% Harmonics" between two shapes.
    static KString ShapeText(double position);

    const KEnvelope& Envelope(EnvelopeRole role) const noexcept;
    void SetEnvelope(EnvelopeRole role, const KEnvelope& envelope);
    bool TransformEnabled() const noexcept { return m_transformEnable; }
    bool AmplitudeTransformEnabled() const noexcept { return m_amplitudeTransformEnable; }
    void SetTransformEnabled(bool enable);
    void SetAmplitudeTransformEnabled(bool enable);

    int StepItemCount() const noexcept { return m_stepItemCount; }
    float StepItem(int index) const noexcept { return m_stepItems[index]; }
    int StepType(int index) const noexcept { return m_stepTypes[index]; }
    bool StepBaseLowest() const noexcept { return m_stepBaseLowest; }
    void SetStepItemCount(int count);
    void SetStepItem(int index, double value);
    void SetStepType(int index, int type);
    void SetStepBaseLowest(bool lowest);

    double ShapeHarmonicLevel(int index) const noexcept { return m_shapeHarmonicLevels[index]; }
    double ShapeHarmonicPhase(int index) const noexcept { return m_shapeHarmonicPhases[index]; }
    void SetShapeHarmonicLevel(int index, double level);
    void SetShapeHarmonicPhase(int index, double phase);

    bool HasCustomSample() const noexcept { return m_customSamplePresent; }
    const float* CustomSample() const noexcept { return m_customSample.data(); }
    // Takes 8192 samples of one period.
    void SetCustomSample(const float* samples);
    void ClearCustomSample();

    int HarmonicCount() const noexcept { return m_harmonicCount; }
    float HarmonicMagnitude(int index) const noexcept { return m_magnitudes[index]; }
    float HarmonicPhase(int index) const noexcept { return m_phases[index]; }
    void SetHarmonicCount(int count);
    void SetHarmonicMagnitude(int index, double magnitude);
    void SetHarmonicPhase(int index, double phase);
    std::uint64_t Seed() const noexcept { return m_seed; }
    void SetSeed(std::uint64_t seed);
    // The next value of the process-wide seed sequence.
    static std::uint64_t NextSeed() noexcept;

    // Reads and analyses the audio file; a file that cannot be read leaves
    // the generator as it was and says why in the analysis message.
    void SetSampleFilePath(const KString& path);
    const KString& SampleFilePath() const noexcept { return m_sampleFilePath; }
    double SamplePosition() const noexcept { return m_samplePosition; }
    void SetSamplePosition(double position);
    const KString& AnalysisMessage() const noexcept { return m_analysis.message; }

    // The editor's view: it shows ratio A = B0 / A0 periods of the waveform,
    // each period B = A0 / B0 × 8192 table samples long.
    void SetRates(double a0, double b0);
    double RatioA() const noexcept { return m_ratioA; }
    double PeriodB() const noexcept { return m_periodB; }
    // Fraction of the shape position used by the last rebuild.
    double MorphFraction() const noexcept { return m_morphFraction; }

private:
    using Buffer = std::array<float, kTableLength>;
    struct ControlInfo {
        double KSignalGenerator::*field;
        double minimum;
        double maximum;
        bool regeneratesHarmonics;  // one of the harmonics generator's controls
    };
    static const ControlInfo& Info(Control control) noexcept;

    // What an edit means for the harmonics generator.
    enum class HarmonicsEffect {
        Keep,        // unaffected
        Regenerate,  // one of its controls changed: regenerate before the next rebuild
        Edit,        // a magnitude or phase is written directly over the generated ones
    };

    // Runs an edit under the lock, marks the table stale and tells the owner.
    template <class Write>
    void Edit(Write&& write, HarmonicsEffect effect = HarmonicsEffect::Keep);
    void NotifyOwner();
    void SetDefaults();
    void RebuildLocked();
    void FinishRebuild();

    // Mode "Normal", in rebuild order.
    void ComposeWaveform(int shapeIndex, double fraction);
    void RenderSteps(float* out) const noexcept;
    void ApplyPhase() noexcept;
    void ApplySkew() noexcept;
    void ApplyFullSkew() noexcept;
    void ApplyHalve() noexcept;
    void ApplyShapeHarmonics() noexcept;
    void ApplyTransform();
    void Normalise() noexcept;
    void ApplyAmplitudeTransform();
    KEnvelope& EnvelopeOf(EnvelopeRole role) noexcept;
    KEnvelopeComputer& ComputerOf(EnvelopeRole role) noexcept;
    // Mode "Harmonics".
    void RegenerateHarmonics() noexcept;
    void SynthesiseHarmonics() noexcept;

    void ReadSampleFile(const KString& path);
    // The parts of the stored form (KSignalGeneratorStore.cpp).
    void StoreControl(KStorageContext& context, const KString& name, Control control);
    void StoreControlUnlessZero(KStorageContext& context, const KString& name, Control control);
    void StoreEnvelope(KStorageContext& context, EnvelopeRole role);
    void StoreNormal(KStorageContext& context);
    void StoreSteps(KStorageContext& context);
    void StoreCustomSample(KStorageContext& context);
    void StoreOperations(KStorageContext& context);
    void StoreHarmonics(KStorageContext& context);
    void StoreHarmonicLevels(KStorageContext& context);
    void StoreSample(KStorageContext& context);

    double m_ratioA = 1;
    double m_periodB = kTableLength;
    double m_morphFraction = 0;
    std::array<float, kTableLength + 1> m_table{};
    Buffer m_w{};
    Buffer m_t{};
    Buffer m_u{};
    Mode m_mode = Mode::Normal;
    double m_shapePosition = 5;
    double m_rateA = 1;
    double m_rateB = 1;
    KEnvelope m_customEnvelope;
    double m_envelopeDepth = 0;
    bool m_customSamplePresent = false;
    Buffer m_customSample{};
    double m_customSampleDepth = 0;
    double m_smoothness = 0;
    KSignalGeneratorSmoother m_smoother;
    std::atomic<bool> m_rebuildPending{false};
    KSynchronizer* m_lockPointer = &m_ownLock;
    KLock m_ownLock;
    Owner* m_owner = nullptr;

    std::array<float, kMaxStepItems> m_stepItems{};
    std::int32_t m_stepItemCount = 8;
    std::array<std::uint8_t, kMaxStepItems> m_stepTypes{};
    bool m_stepBaseLowest = true;
    double m_stepDepth = 0;

    double m_phase = 0;
    double m_skew = 0;
    double m_fullSkew = 0;
    double m_halve = 0;
    std::array<double, kShapeHarmonicCount> m_shapeHarmonicLevels{};
    std::array<double, kShapeHarmonicCount> m_shapeHarmonicPhases{};
    bool m_transformEnable = false;
    bool m_amplitudeTransformEnable = false;
    KEnvelope m_transformEnvelope;
    KEnvelope m_amplitudeEnvelope;
    // One evaluator per envelope, rebuilt when its envelope is set rather
    // than at every table rebuild: building allocates, filling does not.
    KEnvelopeComputer m_customComputer;
    KEnvelopeComputer m_transformComputer;
    KEnvelopeComputer m_amplitudeComputer;

    std::int32_t m_harmonicCount = 32;
    std::array<float, kMaxHarmonics> m_magnitudes{};
    std::array<float, kMaxHarmonics> m_phases{};
    KRealFft m_fft{kTableLength};
    double m_harmonicity = 0.5;
    double m_slope = -0.5;
    double m_fullness = 0.5;
    double m_fundamentalMinimum = 0.75;
    std::uint64_t m_seed = 0;
    double m_sampleRatio = 1;
    double m_samplePosition = 0.2;
    KString m_sampleFilePath;
    std::shared_ptr<const KAudioSample> m_sample;
    KSampleAnalysis m_analysis;
    double m_sharpen = 0;
    double m_noise = 0;
    double m_clean = 0;
    double m_compress = 0;
    double m_harmonize = 0;

    std::atomic<bool> m_dirty{false};  // read by the audio thread before it locks
    std::atomic<bool> m_tableChanged{false};  // a rebuild the owner has not been told of
    bool m_analyse = false;
};

template <class Write>
inline void KSignalGenerator::Edit(Write&& write, HarmonicsEffect effect) {
    {
        KScopedLock hold(m_lockPointer);
        // A direct edit lands on the regenerated harmonics, not under them.
        if (effect == HarmonicsEffect::Edit && m_analyse) {
            m_analyse = false;
            RegenerateHarmonics();
        }
        write();
        if (effect == HarmonicsEffect::Regenerate) m_analyse = true;
        m_rebuildPending.store(true, std::memory_order_release);
        m_dirty.store(true, std::memory_order_release);
    }
    NotifyOwner();
}
