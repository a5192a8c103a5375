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
    // the library's reason when the file cannot be opened or decoded, or by
    // "Audio files cannot be read in this build." in a build without
    // libsndfile (HALVANE_SAMPLE_FILES off).
    static KAudioSample Read(const KString& path);
};
