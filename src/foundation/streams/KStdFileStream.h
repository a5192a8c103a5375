#pragma once
#include <cstdint>

#include "foundation/streams/KStream.h"

namespace KPlatform {
struct FileHandle;
}

// A file on disk. Reading and writing go through separate handles so that a
// derived stream can pair two different ones (the console); for files both
// are the same handle.
class KStdFileStream : public KStream {
public:
    enum OpenFlags : int { OpenRead = 1, OpenWrite = 2, OpenCreate = 4 };

    KStdFileStream() noexcept = default;
    KStdFileStream(const KStdFileStream&) = delete;
    KStdFileStream& operator=(const KStdFileStream&) = delete;
    ~KStdFileStream() override;

    // OpenWrite | OpenCreate creates the missing folders and creates or empties the
    // file; OpenWrite alone opens an existing file for update; otherwise the
    // existing file is opened for reading.
    void Open(const KString& path, int flags);
    void Close() noexcept;
    const KString& Path() const noexcept { return m_path; }

    void Write(const void* data, int count) override;
    int Read(void* buffer, int count) override;
    void Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Position() override;
    void Flush() override;
    // Flush, and the data on the disk before this returns (for a file that
    // is about to replace another).
    void Sync();
    bool AtEnd() override;
    void Truncate(std::int64_t size) override;
    std::int64_t Size() override;
    bool IsValid() override { return m_readHandle != nullptr; }

protected:
    // Adopts already open handles, for streams over process handles.
    void Attach(KPlatform::FileHandle* readHandle, KPlatform::FileHandle* writeHandle) noexcept;

private:
    void RequireOpen() const;
    [[noreturn]] void ThrowWriteError() const;

    KString m_path;
    KPlatform::FileHandle* m_readHandle = nullptr;
    KPlatform::FileHandle* m_writeHandle = nullptr;
    std::int64_t m_sizeAtOpen = 0;
};
