#pragma once
#include <cstdint>

#include "foundation/text/KString.h"

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
    struct FloatFields {
        double minimum = 0, maximum = 1, defaultValue = 0, value = 0, alternate = 0, running = 0;
        KScaleMode scale = KScaleMode::Linear;
    };
    struct IntegerFields {
        std::int32_t minimum = 0, maximum = 1, defaultValue = 0, value = 0, alternate = 0;
    };
    struct ListFields {
        const char* const* entries = nullptr;
        std::int32_t count = 0, defaultIndex = 0, selected = 0;
    };
    struct OnOffFields {
        std::uint8_t defaultValue = 0, value = 0;
    };
    struct GroupFields {
        std::uint8_t* enabled = nullptr;  // the group's on/off byte, or null
    };

    std::uint8_t flags = KParameterFlag::Defaults;
    std::uint8_t flags2 = 0;
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
    void SetFlag(std::uint8_t flag, bool on) noexcept { flags = on ? (flags | flag) : (flags & ~flag); }

    // The value code reads: the alternate value while redirected.
    double WorkingFloat() const noexcept { return HasFlag(KParameterFlag::Redirect) ? floating.alternate : floating.value; }
    std::int32_t WorkingInteger() const noexcept {
        return HasFlag(KParameterFlag::Redirect) ? integer.alternate : integer.value;
    }
    bool IsOn() const noexcept;

    // Setters for values from outside (a stored state, a preset): each keeps
    // the value inside the record's range; a float that is not a number
    // takes the minimum.
    void SetFloat(double value) noexcept;
    void SetInteger(std::int64_t value) noexcept;
    void SetSelected(std::int64_t index) noexcept;
    void SetOnOff(bool on) noexcept { onOff.value = on ? 1 : 0; }
};
