#pragma once

// The K-weighting of ITU-R BS.1770 for one channel: a high shelf of about
// +4 dB above 1.7 kHz (the head's acoustic effect) followed by the revised
// low-frequency B-curve high-pass at 38 Hz. The coefficients are derived for
// any sample rate from the analogue prototypes behind the standard's 48 kHz
// tables.
class KKWeightingFilter {
public:
    struct Biquad {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        double z1 = 0, z2 = 0;  // transposed direct form II state

        double Run(double x) noexcept {
            const double y = b0 * x + z1;
            z1 = b1 * x - a1 * y + z2;
            z2 = b2 * x - a2 * y;
            return y;
        }
    };

    void Initialize(double sampleRate) noexcept;
    void Reset() noexcept;
    double Run(double x) noexcept { return m_highPass.Run(m_shelf.Run(x)); }

    const Biquad& Shelf() const noexcept { return m_shelf; }
    const Biquad& HighPass() const noexcept { return m_highPass; }

private:
    Biquad m_shelf;
    Biquad m_highPass;
};
