#pragma once
#include <cstdint>

#include "foundation/text/KString.h"
#include "foundation/threading/KRelaxed.h"

class KSignalGenerator;
struct KParameterRecord;

enum class KParameterType : std::uint32_t {
    Float = 1,
    Integer = 2,
    List = 3,
    OnOff = 4,
    GroupHeader = 5,
    NoValue = 6,
    Text = 7,
};

// Bits of the first flags byte.
namespace KParameterFlag {
constexpr std::uint8_t OutputGain = 0x02;    // adjusted by automatic gain correction
constexpr std::uint8_t Switch = 0x04;
constexpr std::uint8_t Reported = 0x08;      // answered by the adapter's boolean query
constexpr std::uint8_t Redirect = 0x10;      // SetParameter writes the alternate value
constexpr std::uint8_t FullUpdate = 0x20;    // a change runs OnParametersChanged
constexpr std::uint8_t Randomizable = 0x40;
constexpr std::uint8_t Defaults = FullUpdate | Randomizable;
}  // namespace KParameterFlag

// Bits of the second flags byte.
namespace KParameterFlag2 {
// Mirrors the Enable value of the oscillator a record belongs to; the
// editor greys out records whose oscillator is off.
constexpr std::uint8_t OwnerEnabled = 0x04;
constexpr std::uint8_t RoundAfterRandomize = 0x40;
}  // namespace KParameterFlag2

// A display function replaces number formatting and parsing for a record.
// With an empty input it answers the text of the record's value; otherwise it
// reads a number from the input, stores the converted value into the
// record's value and answers an empty text.
using KDisplayFunction = KString (*)(KParameterRecord& record, const KString& input);

enum class KScaleMode : std::int32_t { Linear = 0, Squared = 1, FourthPower = 2 };

// One parameter of an effect: a flat, typed record the effect declares in a
// fixed array and the adapter exposes to the host.
struct KParameterRecord {
    // The values are written by the host's threads and the editor and read
    // by the audio thread, hence relaxed atomics. Write them through the
    // setters below, which keep them inside the range.
    struct FloatFields {
        double minimum = 0, maximum = 1, defaultValue = 0;
        KRelaxed<double> value = 0, alternate = 0, running = 0;
        KScaleMode scale = KScaleMode::Linear;
    };
    struct IntegerFields {
        std::int32_t minimum = 0, maximum = 1, defaultValue = 0;
        KRelaxed<std::int32_t> value = 0, alternate = 0;
    };
    struct ListFields {
        const char* const* entries = nullptr;
        std::int32_t count = 0, defaultIndex = 0;
        KRelaxed<std::int32_t> selected = 0;
    };
    struct OnOffFields {
        std::uint8_t defaultValue = 0;
        KRelaxed<std::uint8_t> value = 0;
    };
    struct GroupFields {
        std::uint8_t* enabled = nullptr;  // the group's on/off byte, or null
    };

    KRelaxed<std::uint8_t> flags = KParameterFlag::Defaults;
    KRelaxed<std::uint8_t> flags2 = 0;
    KParameterType type = KParameterType::NoValue;
    KString name;
    KString identifier;
    KString description;
    KDisplayFunction display = nullptr;
    KString format;
    FloatFields floating;
    IntegerFields integer;
    ListFields list;
    OnOffFields onOff;
    GroupFields group;
    KString text;
    KSignalGenerator* attached = nullptr;

    static KParameterRecord Float(KString name, KString identifier, double minimum, double maximum,
                                  double defaultValue, KDisplayFunction display = nullptr);
    static KParameterRecord Integer(KString name, KString identifier, int minimum, int maximum, int defaultValue);
    static KParameterRecord List(KString name, KString identifier, const char* const* entries, int count,
                                 int defaultIndex);
    static KParameterRecord OnOff(KString name, KString identifier, bool defaultValue);
    static KParameterRecord GroupHeader(KString name, std::uint8_t* enabled = nullptr);

    bool HasFlag(std::uint8_t flag) const noexcept { return (flags & flag) != 0; }
    void SetFlag(std::uint8_t flag, bool on) noexcept { flags = std::uint8_t(on ? (flags | flag) : (flags & ~flag)); }

    // Every write of a value goes through these, so that no path (host,
    // typed text, stored state, randomisation) can leave a value outside the
    // record's range. A NaN is no value at all: it leaves the value as it is.
    void SetFloatValue(double value) noexcept;
    void SetFloatAlternate(double value) noexcept;
    void SetFloatRunning(double value) noexcept;
    void SetIntegerValue(std::int64_t value) noexcept;
    void SetIntegerAlternate(std::int64_t value) noexcept;
    void SetListIndex(std::int64_t index) noexcept;
    void SetOn(bool on) noexcept { onOff.value = on ? 1 : 0; }

    // The value code reads: the alternate value while redirected.
    double WorkingFloat() const noexcept { return HasFlag(KParameterFlag::Redirect) ? floating.alternate : floating.value; }
    std::int32_t WorkingInteger() const noexcept {
        return HasFlag(KParameterFlag::Redirect) ? integer.alternate : integer.value;
    }
    bool IsOn() const noexcept;
};
