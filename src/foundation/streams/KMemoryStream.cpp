#include "foundation/streams/KMemoryStream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>

#include "foundation/core/Allocator.h"
#include "foundation/core/KException.h"

struct KMemoryStream::Block {
    std::atomic<std::int32_t> references{1};
    std::uint8_t* data = nullptr;
    std::int32_t capacity = 0;
    bool external = false;

    static Block* Create(std::uint8_t* data, std::int32_t capacity, bool external) {
        auto* block = new (KAllocator::Allocate(sizeof(Block))) Block;
        block->data = data;
        block->capacity = capacity;
        block->external = external;
        return block;
    }
};

KMemoryStream::KMemoryStream(const void* data, int size)
    : m_block(Block::Create(static_cast<std::uint8_t*>(const_cast<void*>(data)), std::max(size, 0), true)),
      m_size(std::max(size, 0)) {}

KMemoryStream::KMemoryStream(const KMemoryStream& other) noexcept
    : KStream(other), m_block(other.m_block), m_size(other.m_size), m_position(other.m_position) {
    if (m_block) m_block->references.fetch_add(1, std::memory_order_relaxed);
}

KMemoryStream& KMemoryStream::operator=(const KMemoryStream& other) noexcept {
    if (this != &other) {
        if (other.m_block) other.m_block->references.fetch_add(1, std::memory_order_relaxed);
        Release();
        m_block = other.m_block;
        m_size = other.m_size;
        m_position = other.m_position;
    }
    return *this;
}

KMemoryStream::~KMemoryStream() { Release(); }

void KMemoryStream::Release() noexcept {
    if (!m_block || m_block->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    if (!m_block->external && m_block->data) KAllocator::Release(m_block->data);
    m_block->~Block();
    KAllocator::Release(m_block);
}

void KMemoryStream::Reset() noexcept {
    Release();
    m_block = nullptr;
    m_size = 0;
    m_position = 0;
}

const std::uint8_t* KMemoryStream::Data() const noexcept { return m_block ? m_block->data : nullptr; }

const std::uint8_t* KMemoryStream::PointerAtPosition() const noexcept {
    return m_block && m_block->data ? m_block->data + m_position : nullptr;
}

int KMemoryStream::Capacity() const noexcept { return m_block ? m_block->capacity : 0; }

// Gives this stream a private, owned block of at least `needed` bytes: a
// shared or external block is copied first; an empty capacity becomes exactly
// the needed size, any other doubles until it is large enough.
void KMemoryStream::MakeWritable(std::int64_t needed) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    if (needed > kLimit) throw KException("Out of memory.");
    const bool shared = m_block && (m_block->external || m_block->references.load(std::memory_order_acquire) > 1);
    std::int64_t capacity = m_block ? m_block->capacity : 0;
    if (capacity == 0) capacity = needed;
    while (capacity < needed) capacity = std::min(capacity * 2, kLimit);
    if (!m_block) {
        m_block = Block::Create(static_cast<std::uint8_t*>(KAllocator::Allocate(std::size_t(capacity))),
                                std::int32_t(capacity), false);
    } else if (shared) {
        auto* data = static_cast<std::uint8_t*>(KAllocator::Allocate(std::size_t(capacity)));
        if (m_size > 0) std::memcpy(data, m_block->data, std::size_t(m_size));
        Block* copy = Block::Create(data, std::int32_t(capacity), false);
        Release();
        m_block = copy;
    } else if (capacity > m_block->capacity) {
        m_block->data = static_cast<std::uint8_t*>(KAllocator::Reallocate(m_block->data, std::size_t(capacity)));
        m_block->capacity = std::int32_t(capacity);
    }
}

void KMemoryStream::Write(const void* data, int count) {
    if (count <= 0) return;
    MakeWritable(std::int64_t(m_position) + count);
    std::memcpy(m_block->data + m_position, data, std::size_t(count));
    m_position += count;
    m_size = std::max(m_size, m_position);
}

int KMemoryStream::Read(void* buffer, int count) {
    const int copied = std::clamp(m_size - m_position, 0, std::max(count, 0));
    if (copied > 0) std::memcpy(buffer, m_block->data + m_position, std::size_t(copied));
    m_position += copied;
    return copied;
}

// The same rule as every stream, reading the block directly.
KStream::LineStatus KMemoryStream::ReadLine(char* buffer, int size) {
    return AssembleLine(buffer, size, [this](char& byte) {
        if (m_position >= m_size) return false;
        byte = char(m_block->data[m_position++]);
        return true;
    });
}

void KMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t target;
    switch (origin) {
        case SeekOrigin::Start: target = offset; break;
        case SeekOrigin::Current: target = m_position + offset; break;
        case SeekOrigin::End: target = m_size + offset; break;
        default: RaiseInvalidOrigin();
    }
    m_position = std::int32_t(std::clamp<std::int64_t>(target, 0, m_size));
}
