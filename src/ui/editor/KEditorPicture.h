#pragma once
#include "foundation/text/KString.h"

class KHalvaneEditor;

// Draws the editor at its current size into a PNG file, off screen (no
// display needed). Raises KException "Cannot write the picture "{0}"."
// when the file cannot be written.
void KWriteEditorPicture(KHalvaneEditor& editor, const KString& path);
