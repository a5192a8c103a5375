#include "foundation/streams/KZLibStream.h"

#include <algorithm>
#include <exception>
#include <zlib.h>

#include "foundation/core/Diagnostics.h"
#include "foundation/core/KException.h"

struct KZLibStream::State {
    z_stream zlib{};
    Bytef input[kBufferSize];
    Bytef output[kBufferSize];
    bool ended = false;  // decompressing: the end of the zlib data was met
};

namespace {

const KString kNotTerminated = "ZLIB stream has not been terminated.";

}  // namespace

int KZLibStream::LevelForQuality(int quality) noexcept { return std::clamp((quality - 1) / 10, 0, 9); }

KZLibStream::KZLibStream(KStream* target, bool compress, int quality)
    : m_target(target),
      m_compress(compress),
      m_state(std::make_unique<State>()),
      m_failuresAtConstruction(std::uncaught_exceptions()) {
    if (compress) {
        if (deflateInit(&m_state->zlib, LevelForQuality(quality)) != Z_OK) {
            m_state.reset();
            throw KException("Could not initialize deflating.");
        }
    } else if (inflateInit(&m_state->zlib) != Z_OK) {
        m_state.reset();
        throw KException("Could not initialize inflating.");
    }
}

KZLibStream::~KZLibStream() {
    const bool unwinding = std::uncaught_exceptions() > m_failuresAtConstruction;
    if (m_state && m_compress && !unwinding) KDiagnostics::Report(kNotTerminated);
    try {
        Close();
    } catch (const KException&) {
        // Reported above: a destructor must not raise.
    }
}

void KZLibStream::RequireState() const {
    if (!m_state) throw KException(m_compress ? "Could not initialize deflating." : "Could not initialize inflating.");
    if (!m_target) throw KException("Stream has no target stream.");
}

void KZLibStream::WriteProduced(int produced) {
    if (produced > 0) m_target->Write(m_state->output, produced);
}

void KZLibStream::Write(const void* data, int count) {
    RequireState();
    z_stream& zlib = m_state->zlib;
    zlib.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    zlib.avail_in = uInt(std::max(count, 0));
    do {
        zlib.next_out = m_state->output;
        zlib.avail_out = kBufferSize;
        deflate(&zlib, Z_NO_FLUSH);
        WriteProduced(kBufferSize - int(zlib.avail_out));
    } while (zlib.avail_out == 0);
    m_position += std::max(count, 0);
}

void KZLibStream::Finish() {
    RequireState();
    z_stream& zlib = m_state->zlib;
    int result;
    do {
        zlib.next_out = m_state->output;
        zlib.avail_out = kBufferSize;
        result = deflate(&zlib, Z_FINISH);
        WriteProduced(kBufferSize - int(zlib.avail_out));
    } while (zlib.avail_out == 0 && result != Z_STREAM_END);
    deflateEnd(&zlib);
    m_state.reset();
}

void KZLibStream::Close() {
    if (!m_state) return;
    if (m_compress) {
        deflateEnd(&m_state->zlib);
        m_state.reset();
        throw KException(kNotTerminated);
    }
    inflateEnd(&m_state->zlib);
    m_state.reset();
}

int KZLibStream::Read(void* buffer, int count) {
    RequireState();
    State& state = *m_state;
    z_stream& zlib = state.zlib;
    zlib.next_out = static_cast<Bytef*>(buffer);
    zlib.avail_out = uInt(std::max(count, 0));
    while (zlib.avail_out > 0 && !state.ended) {
        if (zlib.avail_in == 0) {
            const int got = m_target->Read(state.input, kBufferSize);
            if (got <= 0) break;
            zlib.next_in = state.input;
            zlib.avail_in = uInt(got);
        }
        const int result = inflate(&zlib, Z_SYNC_FLUSH);
        if (result == Z_STREAM_END) {
            state.ended = true;
        } else if (result != Z_OK && !(result == Z_BUF_ERROR && zlib.avail_in == 0)) {
            throw KException("Source compressed stream has invalid content.");
        }
    }
    const int produced = std::max(count, 0) - int(zlib.avail_out);
    m_position += produced;
    return produced;
}

void KZLibStream::Flush() {
    if (!m_target) throw KException("Stream has no target stream.");
    m_target->Flush();
}

bool KZLibStream::AtEnd() {
    if (!m_target) throw KException("Stream has no target stream.");
    return m_target->AtEnd();
}
