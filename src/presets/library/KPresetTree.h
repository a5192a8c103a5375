#pragma once
#include <memory>
#include <vector>

#include "foundation/text/KString.h"

class KXMLDocument;
class KXMLItem;

// The presets document: "Directory" items (attribute "Name") nested to any
// depth, "preset" items (attribute "name") in the root and in any folder.
// A compressed preset ("compressed" = 1) keeps its settings as the
// hexadecimal text of a zlib-compressed XML document; an older preset holds
// them as its own attributes and sub-items.
namespace KPresetTree {

inline const KString kFolder("Directory");
inline const KString kFolderName("Name");
inline const KString kPreset("preset");
inline const KString kPresetName("name");
inline const KString kCompressed("compressed");
inline const KString kExchangeIndex("ExchangeIndex");

// The presets of an item in document order, then those of each folder in
// document order, recursively.
std::vector<KXMLItem*> FlatOrder(const KXMLItem& item);
// The folder at a "/"-separated path of folder names below `root` (the
// root itself for an empty path), or null.
KXMLItem* FindFolder(KXMLItem& root, const KString& path);
// The preset of that name directly in `folder`, or null.
KXMLItem* FindPreset(const KXMLItem& folder, const KString& name);

// Converts every uncompressed preset that has a name; answers how many.
int CompressPresets(KXMLItem& root);
// Turns a filled "preset" item into its compressed form, keeping its name.
void Compress(KXMLItem& preset);
// The settings a preset holds, as a document: decoded from the compressed
// form, or a copy of an older preset's own item. Raises the stream and XML
// messages on damaged text.
std::unique_ptr<KXMLDocument> Settings(const KXMLItem& preset);
// The document held as the hexadecimal text of its zlib-compressed (or
// plain) bytes. Raises the hexadecimal or zlib message when it is damaged.
std::unique_ptr<KXMLDocument> FromHexadecimal(const KString& text);

// Appends to each level of `target` the presets of `source` whose names
// (compared without regard to case) it lacks, marked with the exchange
// index, and merges folders of the same name; a source folder unknown to
// the target is copied whole. Answers how many presets were added.
int Merge(KXMLItem& target, const KXMLItem& source, int exchangeIndex);
// Marks every preset without an exchange index (or every preset) with
// `exchangeIndex`, in flat order; answers how many.
int MarkExchange(KXMLItem& root, int exchangeIndex, bool all);

}  // namespace KPresetTree
