#include "AudioFile.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <unistd.h>

#include "ToolError.h"

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    std::filesystem::path name = "." + target.filename().string() + ".partial-" + std::to_string(::getpid());
    return target.parent_path() / name;
}

}  // namespace

int OutputFormatFor(const std::filesystem::path& path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    if (extension == ".aif" || extension == ".aiff") return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
    if (extension == ".ogg" || extension == ".oga") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    if (extension == ".caf") return SF_FORMAT_CAF | SF_FORMAT_FLOAT;
    if (extension == ".w64") return SF_FORMAT_W64 | SF_FORMAT_FLOAT;
    return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
}

AudioData ReadAudioFile(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) throw ToolError("cannot read input \"" + path.string() + "\": " + sf_strerror(nullptr));
    AudioData data;
    data.channels = info.channels;
    data.sampleRate = info.samplerate;
    data.samples.resize(static_cast<std::size_t>(info.frames) * std::size_t(info.channels));
    const sf_count_t read = sf_readf_float(file, data.samples.data(), info.frames);
    sf_close(file);
    data.samples.resize(static_cast<std::size_t>(read) * std::size_t(info.channels));
    if (data.channels < 1 || data.sampleRate < 1) throw ToolError("input \"" + path.string() + "\" holds no audio");
    return data;
}

AudioFileWriter::AudioFileWriter(const std::filesystem::path& target, int channels, int sampleRate)
    : m_target(target), m_temporary(TemporaryBeside(target)) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = OutputFormatFor(target);
    m_file = sf_open(m_temporary.c_str(), SFM_WRITE, &info);
    if (!m_file) throw ToolError("cannot write output \"" + target.string() + "\": " + sf_strerror(nullptr));
}

AudioFileWriter::~AudioFileWriter() {
    if (!m_file) return;
    sf_close(m_file);
    std::error_code ignored;
    std::filesystem::remove(m_temporary, ignored);
}

void AudioFileWriter::Write(const float* interleaved, long long frames) {
    if (sf_writef_float(m_file, interleaved, frames) != frames)
        throw ToolError("cannot write output \"" + m_target.string() + "\": " + sf_strerror(m_file));
}

void AudioFileWriter::Commit() {
    sf_close(m_file);
    m_file = nullptr;
    std::error_code error;
    std::filesystem::rename(m_temporary, m_target, error);
    if (error) {
        std::filesystem::remove(m_temporary, error);
        throw ToolError("cannot write output \"" + m_target.string() + "\"");
    }
}
