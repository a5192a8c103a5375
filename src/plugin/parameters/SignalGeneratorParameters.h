#pragma once
#include <atomic>
#include <memory>
#include <vector>

#include "plugin/core/KAudioPlugin.h"
#include "plugin/parameters/ParameterTypes.h"
#include "signal/generator/KSignalGenerator.h"

// The generator's owner on the plug-in side: whatever changes the generator
// (its host parameters, the waveform editor, loading, randomising), the
// generator's host parameters are redrawn. Writes the host asked to be quiet
// are not announced.
class KSignalGeneratorLink final : public KSignalGenerator::Owner {
public:
    explicit KSignalGeneratorLink(KAudioPlugin& plugin) : m_plugin(plugin) {}

    void Add(KAudioPlugin::AutomationAdapter& wrapper) { m_wrappers.push_back(&wrapper); }
    void OnSpecialParameterChanged() override;

    // Marks a quiet write for its duration.
    class QuietWrite {
    public:
        explicit QuietWrite(KSignalGeneratorLink& link) noexcept : m_link(link) { m_link.m_quiet.fetch_add(1); }
        ~QuietWrite() { m_link.m_quiet.fetch_sub(1); }

    private:
        KSignalGeneratorLink& m_link;
    };

private:
    KAudioPlugin& m_plugin;
    std::vector<KAudioPlugin::AutomationAdapter*> m_wrappers;
    std::atomic<int> m_quiet{0};
};

// Host automation of a signal generator: six wrappers expose its settings as
// groups of normalised sub-parameters (224 host parameters per generator).
//
// Identifiers: the generator's name, the wrapper's group title when it has
// one, and the sub-parameter's name, joined by blanks ("Oscillator 1 shape
// Transformations Skew"), so that every host parameter has its own key.
class ParameterSignalGeneratorBase : public ParameterSpecialMainBase {
public:
    ParameterSignalGeneratorBase(KAudioPlugin* owner, KSignalGenerator& generator, KString name, KString groupTitle);

    // With a link, changes are announced through it; without, the wrapper
    // tells the plug-in itself.
    void SetLink(KSignalGeneratorLink* link) noexcept { m_link = link; }

    KString GetParameterName(int localIndex) override;
    KString GetParameterID(int localIndex) override;
    void SetParameter(int localIndex, double value, bool quiet) override;
    double GetParameter(int localIndex) override;
    KString GetParameterValueName(int localIndex) override;
    KString GetParameterValueNameFrom01(int localIndex, double value) override;
    double ParseParameterValueName(int localIndex, const KString& text) override;
    double GetParameterDefaultValue(int localIndex) override;

protected:
    virtual KString SubName(int localIndex) const = 0;
    virtual double Read(int localIndex) const = 0;              // field as 0..1
    virtual void Write(int localIndex, double value) = 0;       // 0..1 to field
    virtual KString Text(int localIndex, double value) const;  // text of a 0..1 value
    virtual double Parse(int localIndex, const KString& text) const;
    virtual double DefaultValue(int localIndex) const = 0;

    // Percent of a bipolar field (value 2v - 1) and of a plain fraction.
    static KString BipolarPercent(double value);
    static KString FractionPercent(double value);
    static double ParseBipolarPercent(const KString& text);
    static double ParseFractionPercent(const KString& text);
    // The number in the text, NaN when there is none.
    static double ParseNumber(const KString& text);

    KSignalGenerator& m_generator;

private:
    KAudioPlugin* m_owner;
    KSignalGeneratorLink* m_link = nullptr;
    KString m_name;
    KString m_groupTitle;
};

// Appends the six wrappers of one generator, in order, to a list; with a
// link, they announce their changes through it.
std::vector<std::unique_ptr<KAudioPlugin::AutomationAdapter>> MakeSignalGeneratorParameters(
    KAudioPlugin* owner, KSignalGenerator& generator, const KString& name, KSignalGeneratorLink* link = nullptr);
