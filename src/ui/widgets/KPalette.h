#pragma once

// The editor's colours: a dark slate ground, warm amber for values the
// user sets, a cool teal for the oscillators' waveforms.
struct KColor {
    double red;
    double green;
    double blue;
    double alpha = 1.0;
};

namespace KPalette {
inline constexpr KColor kBackground{0.10, 0.11, 0.13};
inline constexpr KColor kHeader{0.07, 0.08, 0.09};
inline constexpr KColor kPanel{0.16, 0.17, 0.20};
inline constexpr KColor kPanelEdge{0.27, 0.29, 0.33};
inline constexpr KColor kWell{0.08, 0.09, 0.10};
inline constexpr KColor kTrack{0.30, 0.32, 0.36};
inline constexpr KColor kAccent{0.98, 0.66, 0.22};
inline constexpr KColor kAccentDim{0.55, 0.38, 0.15};
inline constexpr KColor kWave{0.33, 0.85, 0.80};
inline constexpr KColor kGrid{0.20, 0.23, 0.25};
inline constexpr KColor kText{0.90, 0.91, 0.93};
inline constexpr KColor kTextDim{0.60, 0.63, 0.68};
inline constexpr KColor kButton{0.23, 0.24, 0.28};
inline constexpr KColor kButtonLit{0.98, 0.66, 0.22};
}  // namespace KPalette
