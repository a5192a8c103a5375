#include "plugin/parameters/KValueMIDINote.h"

KString KValueMIDINote::TextFromPosition(double position) const {
    return KTextRules::NoteFromPosition(ValueAtPosition(position));
}

KString KValueMIDINote::TextOf(std::int32_t note) const { return KTextRules::Note(note); }
