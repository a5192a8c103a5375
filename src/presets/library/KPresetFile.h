#pragma once
#include <functional>

#include "foundation/text/KString.h"

class KStream;
class KXMLDocument;

// The presets file on disk, shared by every plug-in instance of the user,
// in this process or another. Changes are made under a lock file beside it
// and written to a temporary file that then replaces the old one, so that
// no reader ever sees half a file and no instance loses another's preset.
class KPresetFile {
public:
    enum class ReadResult { Missing, Loaded, Broken };

    explicit KPresetFile(KString path) noexcept : m_path(std::move(path)) {}
    const KString& Path() const noexcept { return m_path; }

    // A broken file leaves `document` empty.
    ReadResult Read(KXMLDocument& document) const;
    // Reads a presets document from `input` as Read reads the file: whole,
    // and without the units a UTF-8 file cannot carry, so that what the
    // library shows is what it will write.
    static ReadResult ReadFrom(KStream& input, KXMLDocument& document);
    // Reads the file again under the lock, lets `change` edit it (an empty
    // document with a root named `rootName` when there is none), compresses
    // its presets and writes it. A file that cannot be read is first moved
    // aside as a backup ("<path>.broken", numbered when one exists), never
    // overwritten.
    void Update(const KString& rootName, const std::function<void(KXMLDocument&)>& change);

    // The file `name` in `folder`.
    static KString PathIn(const KString& folder, const KString& name);

    // Makes an edited document ready to be written as the file: utf-8,
    // without units utf-8 cannot carry (a root name left empty becomes
    // `rootName`), every preset compressed.
    static void PrepareForWriting(KXMLDocument& document, const KString& rootName);

    // Writes an indented utf-8 document to a temporary file beside `path`
    // that then replaces it.
    static void WriteAtomically(const KXMLDocument& document, const KString& path);

private:
    void MoveAsideBroken() const;

    KString m_path;
};
