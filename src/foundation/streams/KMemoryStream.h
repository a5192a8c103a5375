#pragma once
#include <cstdint>

#include "foundation/streams/KStream.h"

// A growable byte block in memory. Copies of a stream share one block until
// one of them writes (copy on write); the block's reference count is atomic,
// so sharing streams may live on different threads. A stream made over
// external bytes is read-only by contract and never frees them; writing to
// it first copies the bytes into a block of its own.
class KMemoryStream : public KStream {
public:
    KMemoryStream() noexcept = default;
    // Reads `size` bytes that the caller keeps alive; nothing is copied.
    KMemoryStream(const void* data, int size);
    KMemoryStream(const KMemoryStream& other) noexcept;
    KMemoryStream& operator=(const KMemoryStream& other) noexcept;
    ~KMemoryStream() override;

    // Drops the block; size and position become 0.
    void Reset() noexcept;
    // The bytes written so far (null when there are none), Size() of them.
    const std::uint8_t* Data() const noexcept;
    // The byte at the current position.
    const std::uint8_t* PointerAtPosition() const noexcept;
    int Capacity() const noexcept;

    void Write(const void* data, int count) override;
    int Read(void* buffer, int count) override;
    LineStatus ReadLine(char* buffer, int size) override;
    void Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Position() override { return m_position; }
    void Flush() override {}
    bool AtEnd() override { return m_position >= m_size; }
    std::int64_t Size() override { return m_size; }

private:
    struct Block;

    void MakeWritable(std::int64_t needed);
    void Release() noexcept;

    Block* m_block = nullptr;
    std::int32_t m_size = 0;
    std::int32_t m_position = 0;
};
