#pragma once
#include <vector>

#include "foundation/text/KString.h"

// An audio file read into memory as one mono channel (the mean of its
// channels), for the signal generator's sample analysis.
struct KAudioSample {
    std::vector<float> frames;
    double sampleRate = 0;

    int Length() const noexcept { return int(frames.size()); }

    // Reads any format the installed libsndfile knows (WAV, AIFF, FLAC, MPEG
    // audio, ...). Raises "Unable to read the sample file {0}." followed by
    // the library's reason when the file cannot be opened or decoded.
    static KAudioSample Read(const KString& path);
};
