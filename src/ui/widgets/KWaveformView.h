#pragma once
#include <functional>
#include <vector>

#include "ui/widgets/KWidget.h"

class KSignalGenerator;

// One period of an oscillator's waveform, read from its generator's live
// table. The table is sampled under the generator's lock, but only when the
// lock is free at once: the audio thread is never made to wait for a
// drawing, which then just shows the previous shape a little longer.
class KWaveformView : public KWidget {
public:
    static constexpr int kPoints = 512;

    KWaveformView(const KLayoutControl& place, KSignalGenerator& generator, std::function<bool()> enabled);
    void Paint(KPainter& painter) override;
    bool Refresh() override;
    const std::vector<float>& Points() const noexcept { return m_points; }

private:
    bool Sample(std::vector<float>& points) const;

    KSignalGenerator& m_generator;
    std::function<bool()> m_enabled;
    std::vector<float> m_points;
    bool m_shownEnabled = true;
};
