#include "foundation/streams/KStdFileStream.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/platform/File.h"

namespace {

KString FolderOf(const KString& path) {
    const int slash = std::max(path.FindLast(u'/'), path.FindLast(u'\\'));
    return slash > 0 ? path.Substring(0, slash) : KString();
}

}  // namespace

KStdFileStream::~KStdFileStream() { Close(); }

void KStdFileStream::Open(const KString& path, int flags) {
    Close();
    const bool create = (flags & OpenCreate) != 0;
    KPlatform::FileMode mode = KPlatform::FileMode::Read;
    if ((flags & OpenWrite) && create) {
        const KString folder = FolderOf(path);
        // A folder that cannot be made shows up as the failure to create the file.
        if (!folder.IsEmpty()) KPlatform::CreateFolderPath(folder.ToUTF16());
        mode = KPlatform::FileMode::Create;
    } else if (flags & OpenWrite) {
        mode = KPlatform::FileMode::Update;
    }
    KPlatform::FileHandle* file = KPlatform::OpenFile(path.ToUTF16(), mode);
    if (!file) {
        if (create) {
            throw KException(KFormatter("File \"{0}\" could not be created. Make sure there is no "
                                        "write-protected file already existing.")
                             << path);
        }
        throw KException(KFormatter("File \"{0}\" could not be open. Make sure it exists.") << path);
    }
    m_path = path;
    Attach(file, file);
    m_sizeAtOpen = Size();
}

void KStdFileStream::Attach(KPlatform::FileHandle* readHandle, KPlatform::FileHandle* writeHandle) noexcept {
    m_readHandle = readHandle;
    m_writeHandle = writeHandle;
}

void KStdFileStream::Close() noexcept {
    if (m_writeHandle != m_readHandle) KPlatform::CloseFile(m_writeHandle);
    KPlatform::CloseFile(m_readHandle);
    m_readHandle = nullptr;
    m_writeHandle = nullptr;
    m_sizeAtOpen = 0;
}

void KStdFileStream::RequireOpen() const {
    if (!m_readHandle) throw KException("File stream is not initialized.");
}

void KStdFileStream::Write(const void* data, int count) {
    RequireOpen();
    if (count <= 0) return;
    if (KPlatform::WriteFile(m_writeHandle, data, std::size_t(count)) != std::size_t(count)) ThrowWriteError();
}

int KStdFileStream::Read(void* buffer, int count) {
    RequireOpen();
    if (count <= 0) return 0;
    const std::size_t got = KPlatform::ReadFile(m_readHandle, buffer, std::size_t(count));
    if (got < std::size_t(count) && !KPlatform::ReachedEndOfFile(m_readHandle)) {
        throw KException(KFormatter("Error reading from file \"{0}\".") << m_path);
    }
    return int(got);
}

void KStdFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    RequireOpen();
    const int code = int(origin);
    if (code < 0 || code > 2) RaiseInvalidOrigin();
    if (!KPlatform::SeekFile(m_readHandle, offset, code)) throw KException("Could not perform file seek.");
}

std::int64_t KStdFileStream::Position() {
    RequireOpen();
    return KPlatform::FilePosition(m_readHandle);
}

// Buffered bytes meet a full disk only here, so a failure is a failed write.
void KStdFileStream::Flush() {
    RequireOpen();
    if (!KPlatform::FlushFile(m_writeHandle)) ThrowWriteError();
}

void KStdFileStream::Sync() {
    RequireOpen();
    if (!KPlatform::SyncFile(m_writeHandle)) ThrowWriteError();
}

void KStdFileStream::ThrowWriteError() const {
    throw KException(KFormatter("Error writing to file \"{0}\". Probably disk full.") << m_path);
}

bool KStdFileStream::AtEnd() {
    RequireOpen();
    return KPlatform::FilePosition(m_readHandle) >= m_sizeAtOpen;
}

void KStdFileStream::Truncate(std::int64_t size) {
    RequireOpen();
    if (!KPlatform::TruncateFile(m_writeHandle, size)) throw KException("Could not truncate file.");
}

std::int64_t KStdFileStream::Size() {
    RequireOpen();
    const std::int64_t position = Position();
    Seek(0, SeekOrigin::End);
    const std::int64_t size = Position();
    Seek(position, SeekOrigin::Start);
    return size;
}
