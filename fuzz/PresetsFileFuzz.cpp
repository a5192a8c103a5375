// Feeds arbitrary bytes to the presets-file reading path: the document is
// read as the library reads its file, every preset's settings are
// decoded (damaged ones must fail with a KException, nothing else), and the
// document is compressed and written the way a save writes it; the written
// file must read back whole with the same presets in the same order.
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "foundation/core/KException.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"
#include "presets/library/KPresetFile.h"
#include "presets/library/KPresetTree.h"

namespace {

void DecodeEveryPreset(const KXMLItem& root) {
    for (const KXMLItem* preset : KPresetTree::FlatOrder(root)) {
        try {
            KPresetTree::Settings(*preset);
        } catch (const KException&) {
            // a damaged preset: refused with its message
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > std::size_t(std::numeric_limits<int>::max())) return 0;
    KMemoryStream input(data, int(size));
    KXMLDocument document;
    // The library keeps a file it cannot read aside.
    if (KPresetFile::ReadFrom(input, document) != KPresetFile::ReadResult::Loaded) return 0;
    DecodeEveryPreset(document.Root());

    KPresetFile::PrepareForWriting(document, document.Root().Name());
    KMemoryStream written;
    document.Write(written, false);
    written.Seek(0, KStream::SeekOrigin::Start);
    KXMLDocument reread;
    if (KPresetFile::ReadFrom(written, reread) != KPresetFile::ReadResult::Loaded) std::abort();
    const auto before = KPresetTree::FlatOrder(document.Root());
    const auto after = KPresetTree::FlatOrder(reread.Root());
    if (before.size() != after.size()) std::abort();
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!(before[i]->Attribute("name", KString()) == after[i]->Attribute("name", KString()))) std::abort();
    return 0;
}
