#pragma once
// Float WAV files for the tests that hand audio to a program and read back
// what it wrote, through libsndfile as users' audio files are.
#include <sndfile.h>

#include <filesystem>
#include <vector>

struct KTestAudio {
    int channels = 0, rate = 0;
    std::vector<float> samples;  // interleaved frames
};

// False when the file cannot be made.
inline bool WriteWave(const std::filesystem::path& path, const KTestAudio& audio) {
    SF_INFO info{};
    info.channels = audio.channels;
    info.samplerate = audio.rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const sf_count_t frames = sf_count_t(audio.samples.size() / std::size_t(audio.channels));
    const bool written = sf_writef_float(file, audio.samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

// No channels and no samples when the file cannot be read.
inline KTestAudio ReadWave(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    KTestAudio audio;
    if (!file) return audio;
    audio.channels = info.channels;
    audio.rate = info.samplerate;
    audio.samples.resize(std::size_t(info.frames * info.channels));
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}
