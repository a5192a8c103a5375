#include "presets/library/KPresetFile.h"

#include "foundation/core/Diagnostics.h"
#include "foundation/core/KException.h"
#include "foundation/platform/FileSystem.h"
#include "foundation/streams/KStdFileStream.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLUtf8Text.h"
#include "presets/library/KPresetTree.h"

namespace {

std::u16string Units(const KString& text) { return text.ToUTF16(); }

// Holds the lock file beside the presets file for one change.
class KPresetFileLock {
public:
    explicit KPresetFileLock(const KString& path) {
        KString lockPath = path;
        lockPath.Append(".lock");
        m_lock = KPlatform::LockFile(Units(lockPath));
        if (!m_lock) throw KException(KDiagnostics::WithSystemError(KFormatter("Could not lock file \"{0}\".") << lockPath));
    }
    ~KPresetFileLock() { KPlatform::UnlockFile(m_lock); }
    KPresetFileLock(const KPresetFileLock&) = delete;
    KPresetFileLock& operator=(const KPresetFileLock&) = delete;

private:
    KPlatform::FileLock* m_lock;
};

}  // namespace

KString KPresetFile::PathIn(const KString& folder, const KString& name) {
    KString path = folder;
    const char16_t last = path.IsEmpty() ? u'/' : path[path.Length() - 1];
    if (last != u'/' && last != u'\\') path.Append(u'/');
    return path.Append(name);
}

KPresetFile::ReadResult KPresetFile::Read(KXMLDocument& document) const {
    if (!KPlatform::FileExists(Units(m_path))) return ReadResult::Missing;
    try {
        KStdFileStream file;
        file.Open(m_path, KStdFileStream::OpenRead);
        return ReadFrom(file, document);
    } catch (const KException&) {
        document.Root().Clear();
        return ReadResult::Broken;
    }
}

KPresetFile::ReadResult KPresetFile::ReadFrom(KStream& input, KXMLDocument& document) {
    try {
        document.Parse(input);
        if (document.ParsedCompletely() && KXMLUtf8Text::Clean(document.Root())) return ReadResult::Loaded;
    } catch (const KException&) {
    }
    document.Root().Clear();
    return ReadResult::Broken;
}

void KPresetFile::PrepareForWriting(KXMLDocument& document, const KString& rootName) {
    document.SetEncoding("utf-8");
    // Names a host gave (decoded from its bytes) may hold such units too.
    if (!KXMLUtf8Text::Clean(document.Root())) document.Root().SetName(rootName);
    KPresetTree::CompressPresets(document.Root());
}

void KPresetFile::Update(const KString& rootName, const std::function<void(KXMLDocument&)>& change) {
    KPresetFileLock lock(m_path);
    KXMLDocument document(rootName);
    const ReadResult read = Read(document);
    if (read == ReadResult::Broken) MoveAsideBroken();
    if (read != ReadResult::Loaded) {
        document.Root().Clear();
        document.Root().SetName(rootName);
    }
    change(document);
    PrepareForWriting(document, rootName);
    WriteAtomically(document, m_path);
}

void KPresetFile::MoveAsideBroken() const {
    KString backup = m_path;
    backup.Append(".broken");
    for (int n = 2; KPlatform::FileExists(Units(backup)); ++n) {
        backup = m_path;
        backup.Append(KFormatter(".broken{0}") << n);
    }
    if (!KPlatform::ReplaceFile(Units(m_path), Units(backup)))
        throw KException(KDiagnostics::WithSystemError(KFormatter("Could not move file \"{0}\" aside.") << m_path));
    KDiagnostics::Report(KFormatter("The presets file \"{0}\" could not be read and was kept as \"{1}\".") << m_path
                                                                                                         << backup);
}

void KPresetFile::WriteAtomically(const KXMLDocument& document, const KString& path) {
    KString temporary = path;
    temporary.Append(".tmp");
    // The old file is replaced only by one written whole.
    try {
        KStdFileStream file;
        file.Open(temporary, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
        document.Write(file, false);
        file.Sync();
    } catch (const KException&) {
        KPlatform::DeleteFile(Units(temporary));
        throw;
    }
    if (!KPlatform::ReplaceFile(Units(temporary), Units(path))) {
        KPlatform::DeleteFile(Units(temporary));
        throw KException(KDiagnostics::WithSystemError(KFormatter("Could not replace file \"{0}\".") << path));
    }
}
