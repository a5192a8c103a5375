#include "plugin/parameters/KTextRules.h"

#include <cmath>
#include <cstdint>

#include "foundation/text/KFormatter.h"

namespace KTextRules {

double RoundHalfUp(double v) noexcept {
    const double whole = std::floor(v);
    return v - whole >= 0.5 ? whole + 1 : whole;
}

namespace {
std::int64_t WholeHalfUp(double v) { return static_cast<std::int64_t>(RoundHalfUp(v)); }
}  // namespace

KString DegreeSign() { return KString::FromChar(char16_t(0xB0)); }

KString Percent(double fraction) {
    const double percent = fraction * 100;
    return KFormatter(std::fabs(fraction) >= 0.01 ? "{0.1}%" : "{0.2}%") << percent;
}

KString Frequency(double hertz) {
    const double magnitude = std::fabs(hertz);
    if (magnitude < 1e-5) return "0 Hz";
    if (magnitude < 1) return KFormatter("{0;.4} Hz") << hertz;
    if (magnitude < 10) return KFormatter("{0;.2} Hz") << hertz;
    if (magnitude < 100) return KFormatter("{0;.1} Hz") << hertz;
    if (magnitude < 10000) return KFormatter("{0} Hz") << WholeHalfUp(hertz);
    return KFormatter("{0;.1} kHz") << hertz * 0.001;
}

KString Frequency(double hertz, const KString& separator) {
    const double magnitude = std::fabs(hertz);
    if (magnitude < 1e-5) return KFormatter("0{0}Hz") << separator;
    if (magnitude < 1) return KFormatter("{0;.4}{1}Hz") << hertz << separator;
    if (magnitude < 10) return KFormatter("{0;.2}{1}Hz") << hertz << separator;
    if (magnitude < 100) return KFormatter("{0;.1}{1}Hz") << hertz << separator;
    if (magnitude < 10000) return KFormatter("{0}{1}Hz") << WholeHalfUp(hertz) << separator;
    return KFormatter("{0;.1}{1}kHz") << hertz * 0.001 << separator;
}

KString Decibel(double gain) {
    if (std::fabs(gain) < 1e-50) return "silence";
    const double decibels = 20 * std::log10(gain);
    return KFormatter(std::fabs(decibels) >= 10 ? "{0;.1} dB" : "{0;.2} dB") << decibels;
}

KString Pan(double position) {
    if (std::fabs(position) < 1e-50) return "center";
    if (position > 0) return KFormatter("{0}% right") << static_cast<std::int64_t>(position * 100);
    return KFormatter("{0}% left") << static_cast<std::int64_t>(-position * 100);
}

KString Degrees(double turns) {
    if (std::fabs(turns) < 1e-50) return KFormatter("0{0} (0%)") << DegreeSign();
    return KFormatter("{0}{1} ({2.1}%)") << WholeHalfUp(turns * 360) << DegreeSign() << turns * 100;
}

KString Time(double seconds) {
    const double magnitude = std::fabs(seconds);
    if (magnitude < 1e-50) return "0 ms";
    const double milliseconds = seconds * 1000;
    if (magnitude < 0.0001) return KFormatter("{0;.3} ms") << milliseconds;
    if (magnitude < 0.001) return KFormatter("{0;.2} ms") << milliseconds;
    if (magnitude < 0.01) return KFormatter("{0;.1} ms") << milliseconds;
    return KFormatter("{0} ms") << WholeHalfUp(milliseconds);
}

KString Note(int note) {
    static const KString kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const int octave = note >= 0 ? note / 12 : -((11 - note) / 12);
    KString text = kNames[note - octave * 12];
    return text.Append(KFormatter("{0}") << octave);
}

KString NoteFromPosition(int note) { return note >= 128 ? KString() : Note(note); }

KString Shape(double position, std::span<const KString> shapeNames) {
    const double last = double(shapeNames.size()) - 1;
    if (position < 0) position = 0;
    int index;
    double fraction;
    if (position >= last) {
        index = int(last) - 1;
        fraction = 1;
    } else {
        index = int(position);
        fraction = position - index;
    }
    const std::int64_t p = WholeHalfUp(fraction * 100);
    if (p == 0) return shapeNames[std::size_t(index)];
    if (p == 100) return shapeNames[std::size_t(index) + 1];
    return KFormatter("{0}% {1}, {2}% {3}") << 100 - p << shapeNames[std::size_t(index)] << p
                                            << shapeNames[std::size_t(index) + 1];
}

}  // namespace KTextRules
