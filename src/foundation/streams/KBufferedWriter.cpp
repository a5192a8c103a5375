#include "foundation/streams/KBufferedWriter.h"

#include <algorithm>
#include <cstring>

#include "foundation/streams/KStream.h"

void KBufferedWriter::WriteBuffer() {
    const int used = m_used;
    m_used = 0;
    m_stream.Write(m_buffer, used);
}

void KBufferedWriter::Put(const std::uint8_t* bytes, int count) {
    while (count > 0) {
        if (m_used == kBufferSize) WriteBuffer();
        const int piece = std::min(count, kBufferSize - m_used);
        std::memcpy(m_buffer + m_used, bytes, std::size_t(piece));
        m_used += piece;
        bytes += piece;
        count -= piece;
    }
}

void KBufferedWriter::Flush() {
    if (m_used > 0) WriteBuffer();
    m_stream.Flush();
}
