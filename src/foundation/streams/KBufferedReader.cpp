#include "foundation/streams/KBufferedReader.h"

#include <algorithm>
#include <cstring>

#include "foundation/streams/KStream.h"

bool KBufferedReader::Refill(int count) {
    const int kept = m_end - m_next;
    std::memmove(m_buffer, m_buffer + m_next, std::size_t(kept));
    m_next = 0;
    m_end = kept;
    while (m_end - m_next < count) {
        const int got = m_stream.Read(m_buffer + m_end, kBufferSize - m_end);
        if (got <= 0) return false;
        m_end += got;
    }
    return true;
}

bool KBufferedReader::SkipPrefix(const std::uint8_t* bytes, int count) {
    if (m_end - m_next < count && !Refill(count)) return false;
    if (std::memcmp(m_buffer + m_next, bytes, std::size_t(count)) != 0) return false;
    m_next += count;
    return true;
}
