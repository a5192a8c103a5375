#pragma once
#include <array>
#include <cstdint>

#include "foundation/text/KString.h"
#include "signal/envelope/KEnvelope.h"

class KStorageContext;

// Every stored setting of a signal generator: what a table is built from and
// what the harmonics are drawn from. The generator keeps one and edits it
// under its lock; its table builder takes a copy and builds from that
// outside the lock. Copying allocates nothing once the envelopes' point
// storage is large enough.
class KSignalGeneratorRecipe {
public:
    static constexpr int kTableLength = 8192;
    static constexpr int kMaxHarmonics = 256;
    static constexpr int kMaxStepItems = 32;
    static constexpr int kStepTypeCount = 37;
    static constexpr int kShapeHarmonicCount = 7;  // the multiples 2 to 8
    static constexpr double kMaxShapePosition = 15;

    enum class Mode : std::int32_t { Normal = 0, Harmonics = 1 };
    enum class EnvelopeRole { CustomMorph, Transform, AmplitudeTransform };
    static constexpr int kEnvelopeRoles = 3;

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

    KSignalGeneratorRecipe();

    // Integer part and fraction of a shape position as a build reads it.
    static void SplitShapePosition(double position, int& index, double& fraction) noexcept;
    // "Normal" or "Harmonics", as stored.
    static KString ModeName(Mode mode);

    double SamplePosition() const noexcept { return m_samplePosition; }

    // The stored form, both ways: attribute "Mode", then the keys of that
    // mode only. Loading reads over the current settings through the setters
    // below, so every value lands in range. The sample path is only read into
    // `sampleFilePath`: the caller reads and analyses the file. Raises
    // "Invalid control point type." for an envelope it cannot build.
    void Store(KStorageContext& context, KString& sampleFilePath);

    // The setters keep every value in range and ignore a NaN or an index
    // out of range.
    double Get(Control control) const noexcept { return this->*Info(control).field; }
    static double Minimum(Control control) noexcept { return Info(control).minimum; }
    static double Maximum(Control control) noexcept { return Info(control).maximum; }
    void Set(Control control, double value) noexcept;
    void SetMode(Mode mode) noexcept { m_mode = mode; }
    // Raises "Invalid control point type." before anything changes.
    void SetEnvelope(EnvelopeRole role, const KEnvelope& envelope);
    void SetTransformEnabled(bool enable) noexcept { m_transformEnable = enable; }
    void SetAmplitudeTransformEnabled(bool enable) noexcept { m_amplitudeTransformEnable = enable; }
    void SetStepItemCount(int count) noexcept;
    void SetStepItem(int index, double value) noexcept;
    void SetStepType(int index, int type) noexcept;
    void SetStepBaseLowest(bool lowest) noexcept { m_stepBaseLowest = lowest; }
    void SetShapeHarmonicLevel(int index, double level) noexcept;
    void SetShapeHarmonicPhase(int index, double phase) noexcept;
    void SetCustomSample(const float* samples) noexcept;
    void ClearCustomSample() noexcept;
    void SetHarmonicCount(int count) noexcept;
    void SetHarmonicMagnitude(int index, double magnitude) noexcept;
    void SetHarmonicPhase(int index, double phase) noexcept;
    void SetSeed(std::uint64_t seed) noexcept { m_seed = seed; }
    // A NaN stands for 0.
    void SetSamplePosition(double position) noexcept;

protected:
    using Buffer = std::array<float, kTableLength>;

    struct ControlInfo {
        double KSignalGeneratorRecipe::*field;
        double minimum;
        double maximum;
        bool regeneratesHarmonics;  // one of the harmonics generator's controls
    };
    static const ControlInfo& Info(Control control) noexcept;

    // The parts of the stored form (KSignalGeneratorRecipeStore.cpp).
    void StoreControl(KStorageContext& context, const KString& name, Control control);
    void StoreControlUnlessZero(KStorageContext& context, const KString& name, Control control);
    void StoreEnvelope(KStorageContext& context, EnvelopeRole role);
    void StoreNormal(KStorageContext& context);
    void StoreSteps(KStorageContext& context);
    void StoreCustomSample(KStorageContext& context);
    void StoreOperations(KStorageContext& context);
    void StoreHarmonics(KStorageContext& context, KString& sampleFilePath);
    void StoreHarmonicLevels(KStorageContext& context);
    void StoreSample(KStorageContext& context, KString& sampleFilePath);

    KEnvelope& EnvelopeOf(EnvelopeRole role) noexcept;
    const KEnvelope& EnvelopeOf(EnvelopeRole role) const noexcept;
    // Gives the envelope a new version number, unique in the process, so
    // that a builder rebuilds its evaluator only for an envelope that changed.
    void EnvelopeChanged(EnvelopeRole role) noexcept;

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
    std::array<std::uint64_t, kEnvelopeRoles> m_envelopeVersions{};

    std::int32_t m_harmonicCount = 32;
    std::array<float, kMaxHarmonics> m_magnitudes{};
    std::array<float, kMaxHarmonics> m_phases{};
    double m_harmonicity = 0.5;
    double m_slope = -0.5;
    double m_fullness = 0.5;
    double m_fundamentalMinimum = 0.75;
    std::uint64_t m_seed = 0;
    double m_sampleRatio = 1;
    double m_samplePosition = 0.2;
    double m_sharpen = 0;
    double m_noise = 0;
    double m_clean = 0;
    double m_compress = 0;
    double m_harmonize = 0;
};
