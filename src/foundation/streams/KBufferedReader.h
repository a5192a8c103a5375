#pragma once
#include <cstdint>
#include <span>

class KStream;

// Hands out a stream's bytes one at a time, reading them in blocks. The
// reader may read ahead of what it has handed out, so the stream's own
// position is not meaningful while it is in use.
class KBufferedReader {
public:
    static constexpr int kBufferSize = 4096;

    explicit KBufferedReader(KStream& stream) noexcept : m_stream(stream) {}
    KBufferedReader(const KBufferedReader&) = delete;
    KBufferedReader& operator=(const KBufferedReader&) = delete;

    // The next byte; false when the stream has no more data.
    bool Next(std::uint8_t& byte) {
        if (m_next == m_end && !Refill(1)) return false;
        byte = m_buffer[m_next++];
        return true;
    }
    // The next byte without taking it; false when the stream has no more data.
    bool PeekByte(std::uint8_t& byte) {
        if (m_next == m_end && !Refill(1)) return false;
        byte = m_buffer[m_next];
        return true;
    }
    // Takes the byte PeekByte answered.
    void SkipByte() noexcept { ++m_next; }
    // The bytes read ahead and not yet handed out, for callers that scan
    // runs of bytes in place; Skip takes `count` of them.
    std::span<const std::uint8_t> Buffered() const noexcept {
        return {m_buffer + m_next, std::size_t(m_end - m_next)};
    }
    void Skip(std::size_t count) noexcept { m_next += int(count); }
    // Consumes the given bytes when the data continues with exactly them.
    bool SkipPrefix(const std::uint8_t* bytes, int count);

private:
    // Makes at least `count` unread bytes available if the stream has them.
    bool Refill(int count);

    KStream& m_stream;
    std::uint8_t m_buffer[kBufferSize];
    int m_next = 0;
    int m_end = 0;
};
