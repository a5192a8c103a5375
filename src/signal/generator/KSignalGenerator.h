#pragma once
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "foundation/threading/KLock.h"
#include "foundation/text/KString.h"
#include "signal/analysis/KSampleAnalyser.h"
#include "signal/generator/KSignalGeneratorBuilder.h"
#include "signal/generator/KSignalGeneratorRecipe.h"

class KStorageContext;

// One period of a periodic waveform as a table of 8192 samples, read at any
// phase by Sample. In mode "Normal" the period is a morph of basic shapes,
// the custom morph envelope, the step sequence and an imported custom sample,
// reshaped by a chain of operations; in mode "Harmonics" it is synthesised
// from up to 256 harmonic magnitudes and phases.
//
// Edits only change settings and mark the generator dirty; the table is
// rebuilt from a copy of the settings, outside the generator's lock (which
// the owner points at its processing lock), and the finished table is taken
// into use by the owner's UpdateIfChanged at the start of a block, so a table
// never changes in the middle of one. Without a background builder,
// UpdateIfChanged builds the table itself; with one, the audio thread only
// swaps finished tables in and never waits for a build.
class KSignalGenerator : private KSignalGeneratorRecipe {
public:
    using KSignalGeneratorRecipe::kMaxHarmonics;
    using KSignalGeneratorRecipe::kMaxShapePosition;
    using KSignalGeneratorRecipe::kMaxStepItems;
    using KSignalGeneratorRecipe::kShapeHarmonicCount;
    using KSignalGeneratorRecipe::kStepTypeCount;
    using KSignalGeneratorRecipe::kTableLength;
    using KSignalGeneratorRecipe::EnvelopeRole;
    using KSignalGeneratorRecipe::Mode;
    using KSignalGeneratorRecipe::SplitShapePosition;

    using KSignalGeneratorRecipe::Control;
    using KSignalGeneratorRecipe::kControlCount;

    // Told after every edit, outside the lock.
    class Owner {
    public:
        virtual void OnSpecialParameterChanged() = 0;

    protected:
        ~Owner() = default;
    };

    KSignalGenerator();
    ~KSignalGenerator();
    KSignalGenerator(const KSignalGenerator&) = delete;
    KSignalGenerator& operator=(const KSignalGenerator&) = delete;

    // The waveform at any phase, in cycles (wraps every 1, also below 0).
    double Sample(double phase) const noexcept { return Read(Table(), phase); }
    // The same from a table taken once for a whole block.
    static double Read(const float* table, double phase) noexcept {
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
        return (1.0f - fraction) * table[i] + fraction * table[i + 1];
    }

    // At the start of a block: takes a finished table into use (building it
    // first when there is no background builder). True once for each table
    // taken into use that edits, loading, Randomize or Reset produced, so that
    // the owner can fade the step the change makes.
    bool UpdateIfChanged();
    // Builds a table from the current settings on the calling thread.
    void Rebuild();
    // From now on edits are built by a thread of the generator's own, and
    // UpdateIfChanged only swaps finished tables in. Call before the
    // generator is shared between threads. Raises "Could not create system
    // thread.".
    void BuildInBackground();
    // Back to the defaults, keeping the shape position, the rate fields, the
    // envelopes, the step sequence and the sample path; draws a new seed.
    void Reset();

    // The stored form, both ways, worked on a copy of the settings outside
    // the lock; loading swaps the result in under it and builds a new table.
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

    // The table in use: 8193 entries; the last repeats the first.
    const float* Table() const noexcept { return m_current->samples.data(); }
    bool IsDirty() const noexcept { return m_dirty.load(std::memory_order_acquire); }
    // True from an edit until the rebuild that takes it up has finished.
    bool IsRebuildPending() const noexcept { return m_rebuildPending.load(std::memory_order_acquire); }

    using KSignalGeneratorRecipe::Get;
    using KSignalGeneratorRecipe::Maximum;
    using KSignalGeneratorRecipe::Minimum;
    void Set(Control control, double value);

    Mode GetMode() const noexcept { return m_mode; }
    void SetMode(Mode mode);
    using KSignalGeneratorRecipe::ModeName;

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
    using KSignalGeneratorRecipe::SamplePosition;
    void SetSamplePosition(double position);
    const KString& AnalysisMessage() const noexcept { return m_analysis.message; }

    // The editor's view: it shows ratio A = B0 / A0 periods of the waveform,
    // each period B = A0 / B0 × 8192 table samples long.
    void SetRates(double a0, double b0);
    double RatioA() const noexcept { return m_current->ratioA; }
    double PeriodB() const noexcept { return m_current->periodB; }
    // Fraction of the shape position the table in use was built from.
    double MorphFraction() const noexcept { return m_current->morphFraction; }

private:
    class BackgroundBuilder;

    // What an edit means for the harmonics generator.
    enum class HarmonicsEffect {
        Keep,        // unaffected
        Regenerate,  // one of its controls changed: regenerate before the next rebuild
        Edit,        // a magnitude or phase is written directly over the generated ones
    };

    // A sample and its analysis, prepared outside the lock.
    struct PreparedSample {
        KString path;
        std::shared_ptr<const KAudioSample> sample;
        KSampleAnalysis analysis;
        bool unreadable = false;  // the file could not be read; the analysis message says why
    };

    // Runs an edit under the lock, marks the table stale and tells the owner.
    template <class Write>
    void Edit(Write&& write, HarmonicsEffect effect = HarmonicsEffect::Keep);
    void EditDone();
    void NotifyOwner();
    void SetDefaults();
    PreparedSample PrepareSample(std::optional<KString> path, std::optional<double> position) const;
    // The settings and the sample path, copied under the lock for storing.
    struct StoredCopy {
        KSignalGeneratorRecipe recipe;
        KString sampleFilePath;
    };
    StoredCopy TakeStoredCopy() const;

    // Table building: a copy of the settings taken under the lock, the build
    // outside it, the finished table handed over without waiting. A forced
    // build (loading, Randomize, Reset) runs even when nothing was edited. Every
    // table taken into use is reported once by UpdateIfChanged.
    enum class RecipeTaken { Busy, Nothing, Taken };
    RecipeTaken TryTakeRecipe(bool force);
    void BuildTable(bool force);
    void PublishTable() noexcept;
    void AdoptTable() noexcept;

    // Mode "Harmonics": draws the harmonics from the generator controls.
    void RegenerateHarmonics() noexcept;

    // Set by the owner's set-up while the builder thread may be reading it.
    std::atomic<KSynchronizer*> m_lockPointer{&m_ownLock};
    KLock m_ownLock;
    Owner* m_owner = nullptr;

    KString m_sampleFilePath;
    std::shared_ptr<const KAudioSample> m_sample;
    KSampleAnalysis m_analysis;

    std::atomic<bool> m_dirty{false};  // read by the audio thread before it locks
    std::atomic<bool> m_rebuildPending{false};
    bool m_analyse = false;

    // Three tables handed round between the builder and the audio thread: the
    // one in use, the last finished one and the one being built. m_ready holds
    // the index of the finished one and whether it is new.
    static constexpr int kIndexMask = 3;
    static constexpr int kFresh = 4;
    KLock m_buildLock;
    KSignalGeneratorBuilder m_builder;
    std::array<KSignalGeneratorTable, 3> m_tables;
    int m_inUse = 0;
    const KSignalGeneratorTable* m_current = &m_tables[0];
    std::atomic<int> m_ready{1};
    int m_building = 2;
    std::atomic<bool> m_tableChanged{false};
    // Last: the thread stops before anything it uses is destroyed.
    std::unique_ptr<BackgroundBuilder> m_background;
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
        m_dirty.store(true);
        m_rebuildPending.store(true);  // after the dirty flag: see BuildTable
    }
    EditDone();
}
