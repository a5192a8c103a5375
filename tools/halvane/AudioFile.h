#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include <sndfile.h>

// Interleaved 32-bit float audio.
struct AudioData {
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> samples;

    long long Frames() const { return channels ? static_cast<long long>(samples.size()) / channels : 0; }
};

// Reads any file libsndfile reads; raises ToolError when it cannot.
AudioData ReadAudioFile(const std::filesystem::path& path);

// Writes to a temporary file beside the target and renames it over the
// target on Commit, so that a failed run leaves no partial output.
class AudioFileWriter {
public:
    AudioFileWriter(const std::filesystem::path& target, int channels, int sampleRate);
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    void Write(const float* interleaved, long long frames);
    void Commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    SNDFILE* m_file = nullptr;
};

// The libsndfile format for a file name: by extension, 32-bit float WAV
// when the extension names no known format.
int OutputFormatFor(const std::filesystem::path& path);
