#pragma once
#include <cstdint>

#include "foundation/text/KEncoding.h"

class KStream;

// Collects bytes and hands them to a stream in blocks of 1 KiB. Flush() must
// be called at the end: destruction drops what is still buffered, because a
// destructor cannot report a failing write.
class KBufferedWriter final : public KEncoding::ByteSink {
public:
    static constexpr int kBufferSize = 1024;

    explicit KBufferedWriter(KStream& stream) noexcept : m_stream(stream) {}
    KBufferedWriter(const KBufferedWriter&) = delete;
    KBufferedWriter& operator=(const KBufferedWriter&) = delete;

    void Put(std::uint8_t byte) override {
        if (m_used == kBufferSize) WriteBuffer();
        m_buffer[m_used++] = byte;
    }
    void Put(const std::uint8_t* bytes, int count) override;
    // Writes the buffered bytes and flushes the stream.
    void Flush();

private:
    void WriteBuffer();

    KStream& m_stream;
    std::uint8_t m_buffer[kBufferSize];
    int m_used = 0;
};
