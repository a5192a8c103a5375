// Feeds arbitrary bytes to the compressed-or-plain document loader, as a
// corrupt plug-in state or preset file would. Whatever loads must also
// survive writing: written compactly as UTF-16 (which keeps every code unit)
// and read back, it must give the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "foundation/core/KException.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"

namespace {

bool SameTree(const KXMLItem& a, const KXMLItem& b) {
    if (!(a.Name() == b.Name()) || !(a.Text() == b.Text())) return false;
    if (a.Attributes().Count() != b.Attributes().Count() || a.SubItemCount() != b.SubItemCount()) return false;
    for (int i = 0; i < a.Attributes().Count(); ++i) {
        if (!(a.Attributes()[i].name == b.Attributes()[i].name)) return false;
        if (!(a.Attributes()[i].value == b.Attributes()[i].value)) return false;
    }
    for (int i = 0; i < a.SubItemCount(); ++i)
        if (!SameTree(a.SubItemAt(i), b.SubItemAt(i))) return false;
    return true;
}

void CheckRewrite(KXMLDocument& loaded) {
    loaded.SetEncoding("utf-16");
    KMemoryStream written;
    loaded.Write(written, true);
    written.Seek(0, KStream::SeekOrigin::Start);
    KXMLDocument reloaded;
    reloaded.Parse(written);
    if (!SameTree(loaded.Root(), reloaded.Root())) std::abort();

    KMemoryStream indented;
    loaded.Write(indented, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > std::size_t(std::numeric_limits<int>::max())) return 0;
    KMemoryStream input(data, int(size));
    KXMLDocument document;
    try {
        document.ParseCompressedOrPlain(input);
    } catch (const KException&) {
        return 0;  // refused with a clear message: the expected outcome for most inputs
    }
    CheckRewrite(document);
    return 0;
}
