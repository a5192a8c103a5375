#pragma once
#include <memory>

class KXMLDocument;
class KXMLItem;

// Random settings made by crossing presets of the library: the source is
// the "Randomizer" folder (one preset crossed with a few, the cube root of
// their number) or the "Randomizer Multi" folder (half of its presets, at
// most eight), chosen by a coin when both exist, else the whole library.
// Draws come from the shared random generator.
namespace KPresetRandomizer {

// The crossed settings, marked as edited; null when the source holds no
// preset. With a single preset, its settings come back as they are.
std::unique_ptr<KXMLDocument> Cross(const KXMLItem& presetsRoot);
// Crosses `other` into `base`: texts, sub-items and attributes by coin and
// by eighths, recursively. `other` is consumed.
void CrossInto(KXMLItem& base, KXMLItem& other);

}  // namespace KPresetRandomizer
