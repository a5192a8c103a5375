#pragma once
#include <cstdint>

// Byte-level UTF-8 rules shared by KString and the UTF-8 codec.
namespace KUtf8 {

// Decodes byte by byte. A zero byte ends the text (Feed answers false); bytes
// that cannot start a sequence are skipped; a byte that breaks a sequence
// yields the unit 1 and is itself dropped; a byte-order mark is dropped.
class Decoder {
public:
    template <class Emit>
    bool Feed(unsigned char byte, Emit&& emit) {
        if (m_pending == 0) {
            if (byte == 0) return false;
            if (byte < 0x80) emit(char16_t(byte));
            else if ((byte & 0xE0) == 0xC0) Start(byte & 0x1F, 1);
            else if ((byte & 0xF0) == 0xE0) Start(byte & 0x0F, 2);
            else if ((byte & 0xF8) == 0xF0) Start(byte & 0x07, 3);
            return true;
        }
        if ((byte & 0xC0) != 0x80) {
            m_pending = 0;
            emit(char16_t(1));
            return true;
        }
        m_value = (m_value << 6) | (byte & 0x3F);
        if (--m_pending == 0) EmitValue(emit);
        return true;
    }

private:
    void Start(std::uint32_t bits, int continuations) {
        m_value = bits;
        m_pending = continuations;
    }
    template <class Emit>
    void EmitValue(Emit& emit) {
        if (m_value > 0xFFFF) {
            const std::uint32_t v = m_value - 0x10000;
            emit(char16_t(0xD800 + (v >> 10)));
            emit(char16_t(0xDC00 + (v & 0x3FF)));
        } else if (m_value != 0xFEFF) {
            emit(char16_t(m_value));
        }
    }

    std::uint32_t m_value = 0;
    int m_pending = 0;
};

// Encodes unit by unit: surrogate pairs are joined, a lone low surrogate is
// dropped, and a high surrogate followed by anything but a low surrogate is
// dropped together with that unit.
class Encoder {
public:
    template <class Emit>
    void Feed(char16_t unit, Emit&& emit) {
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (m_high != 0) {
            const std::uint32_t high = m_high;
            m_high = 0;
            if (low) EmitValue(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00u), emit);
            return;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) m_high = unit;
        else if (!low) EmitValue(unit, emit);
    }

private:
    template <class Emit>
    static void EmitValue(std::uint32_t v, Emit& emit) {
        if (v < 0x80) {
            emit(char(v));
        } else if (v < 0x800) {
            emit(char(0xC0 | (v >> 6)));
            emit(char(0x80 | (v & 0x3F)));
        } else if (v < 0x10000) {
            emit(char(0xE0 | (v >> 12)));
            emit(char(0x80 | ((v >> 6) & 0x3F)));
            emit(char(0x80 | (v & 0x3F)));
        } else {
            emit(char(0xF0 | (v >> 18)));
            emit(char(0x80 | ((v >> 12) & 0x3F)));
            emit(char(0x80 | ((v >> 6) & 0x3F)));
            emit(char(0x80 | (v & 0x3F)));
        }
    }

    std::uint32_t m_high = 0;
};

}  // namespace KUtf8
