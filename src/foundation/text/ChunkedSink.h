#pragma once
#include <cstdint>

#include "foundation/text/KEncoding.h"

namespace KEncoding {

// Collects a codec's bytes on the stack and hands them to the sink in
// chunks: for a long text, a virtual call per byte costs more than the
// encoding itself. Flush() must end the encoding.
class ChunkedSink {
public:
    explicit ChunkedSink(ByteSink& sink) noexcept : m_sink(sink) {}
    ChunkedSink(const ChunkedSink&) = delete;
    ChunkedSink& operator=(const ChunkedSink&) = delete;

    void Put(std::uint8_t byte) {
        if (m_used == kSize) Flush();
        m_chunk[m_used++] = byte;
    }
    void Flush() {
        m_sink.Put(m_chunk, m_used);
        m_used = 0;
    }

private:
    static constexpr int kSize = 256;

    ByteSink& m_sink;
    std::uint8_t m_chunk[kSize];
    int m_used = 0;
};

}  // namespace KEncoding
