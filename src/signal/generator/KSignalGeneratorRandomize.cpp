#include <algorithm>
#include <cmath>

#include "foundation/core/Random.h"
#include "signal/generator/KSignalGenerator.h"

// Randomisation draws from the plug-in's shared random state, so that one
// randomisation of the whole plug-in is reproducible from its seed.

namespace {

double Draw() noexcept { return KRandom::NextUnit(); }

// Half the time off, otherwise a random amount.
double DrawOffOrAmount() noexcept { return Draw() > 0.5 ? 0.0 : Draw(); }

}  // namespace

void KSignalGenerator::RandomizeShape(double amount) {
    {
        KScopedLock hold(m_lockPointer);
        const double spread = 2 * amount;
        m_shapePosition = kMaxShapePosition * std::clamp((Draw() - 0.5) * spread + m_shapePosition / kMaxShapePosition, 0.0, 1.0);
        KRandom::Next();
        m_envelopeDepth = Draw();
        // Step sequences sound busy: a full randomisation rarely turns them up.
        if (spread >= 2) m_stepDepth = std::pow(Draw(), 20);
        else m_stepDepth += (Draw() - 0.5) * spread * 0.25;
    }
    BuildTable(true);
    NotifyOwner();
}

void KSignalGenerator::RandomizeHarmonics(double amount) {
    {
        KScopedLock hold(m_lockPointer);
        if (amount >= 1) {
            m_harmonicity = 2 * std::sqrt(Draw()) - 1;
            m_slope = 2 * std::pow(Draw(), 2) - 1;
            m_fullness = Draw();
            m_fundamentalMinimum = std::sqrt(Draw());
            m_seed = NextSeed();
            m_sharpen = 2 * DrawOffOrAmount() - 1;
            m_noise = DrawOffOrAmount();
            m_clean = DrawOffOrAmount();
            m_compress = DrawOffOrAmount();
            m_harmonize = DrawOffOrAmount();
            m_sampleRatio = DrawOffOrAmount();
        } else {
            const Control moved[] = {Control::Harmonicity, Control::Slope,    Control::Fullness,
                                     Control::FundamentalMinimum, Control::Sharpen, Control::Noise,
                                     Control::Clean,       Control::Compress, Control::Harmonize,
                                     Control::SampleRatio};
            for (Control control : moved) {
                const ControlInfo& info = Info(control);
                const double step = (KRandom::Next() - 16383) / 16384.0 * amount;
                this->*info.field = std::clamp(this->*info.field + step, info.minimum, info.maximum);
            }
        }
        m_analyse = false;
        RegenerateHarmonics();
    }
    BuildTable(true);
    NotifyOwner();
}

void KSignalGenerator::Randomize(double amount) {
    RandomizeShape(amount);
    RandomizeHarmonics(amount);
}
