#pragma once
#include <cstdint>
#include <memory>

#include "foundation/streams/KStream.h"

// zlib-format compression (header and Adler-32 trailer) onto a target stream,
// or decompression from it. The target is not owned. A compressing stream
// must be finished before it is closed; a decompressing stream stops at the
// end of its data and never reads past the end of the target.
class KZLibStream : public KStream {
public:
    static constexpr int kBufferSize = 4096;

    // Quality 0 to 100 maps to the zlib levels 0 to 9; 100 compresses best.
    KZLibStream(KStream* target, bool compress, int quality = 100);
    KZLibStream(const KZLibStream&) = delete;
    KZLibStream& operator=(const KZLibStream&) = delete;
    // Releases the zlib state. A compressing stream that was never finished
    // reports "ZLIB stream has not been terminated." to the diagnostic sink,
    // unless a failure is already unwinding; call Close() to have that
    // raised instead.
    ~KZLibStream() override;

    // The zlib level a quality stands for.
    static int LevelForQuality(int quality) noexcept;

    // Flushes the compressed data to the target and ends compressing.
    void Finish();
    // Raises "ZLIB stream has not been terminated." for a compressing stream
    // that was not finished; the zlib state is released either way.
    void Close();

    KStream* Substream() override { return m_target; }
    void Write(const void* data, int count) override;
    int Read(void* buffer, int count) override;
    std::int64_t Position() override { return m_position; }
    void Flush() override;
    bool AtEnd() override;

private:
    struct State;

    void RequireState() const;
    void WriteProduced(int produced);

    KStream* m_target;
    bool m_compress;
    std::unique_ptr<State> m_state;
    std::int64_t m_position = 0;
    int m_failuresAtConstruction;
};
