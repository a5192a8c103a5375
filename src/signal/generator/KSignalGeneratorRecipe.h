#pragma once
#include <array>
#include <cstdint>

#include "foundation/text/KString.h"
#include "signal/envelope/KEnvelope.h"

class KXMLItem;

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

    KSignalGeneratorRecipe();

    // Integer part and fraction of a shape position as a build reads it.
    static void SplitShapePosition(double position, int& index, double& fraction) noexcept;
    // "Normal" or "Harmonics", as stored.
    static KString ModeName(Mode mode);

    double SamplePosition() const noexcept { return m_samplePosition; }

    // The keys of the current mode, and of that mode only.
    void Store(KXMLItem& item, const KString& sampleFilePath) const;
    // Reads the stored keys over the current settings (missing keys as the
    // stored format says). The sample path is only read into `sampleFilePath`:
    // the caller reads and analyses the file. Raises "Invalid control point
    // type." for an envelope it cannot build, before anything changed.
    void Load(KXMLItem& item, KString& sampleFilePath);

protected:
    using Buffer = std::array<float, kTableLength>;

    void StoreNormal(KXMLItem& item) const;
    void StoreHarmonics(KXMLItem& item, const KString& sampleFilePath) const;
    void LoadNormal(KXMLItem& item);
    void LoadHarmonics(KXMLItem& item, KString& sampleFilePath);
    void LoadEnvelope(const KXMLItem& item, EnvelopeRole role);
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
