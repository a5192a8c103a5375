#include "foundation/streams/KBufferedWriter.h"

#include "foundation/streams/KStream.h"

void KBufferedWriter::WriteBuffer() {
    const int used = m_used;
    m_used = 0;
    m_stream.Write(m_buffer, used);
}

void KBufferedWriter::Flush() {
    if (m_used > 0) WriteBuffer();
    m_stream.Flush();
}
