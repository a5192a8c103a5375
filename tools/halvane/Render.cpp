#include "Render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "AudioFile.h"
#include "DemoSource.h"
#include "MidiFile.h"
#include "ToolError.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"

namespace {

// The plug-in always runs in stereo; a mono file feeds both channels and
// comes back as the left channel.
constexpr int kPluginChannels = 2;

class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : m_enabled(enabled) {}
    ~ProgressBar() {
        if (m_enabled && m_shown >= 0) std::fputs("\r\033[K", stderr);
    }
    void Show(long long done, long long total) {
        if (!m_enabled || total <= 0) return;
        const int percent = int(done * 100 / total);
        if (percent == m_shown) return;
        m_shown = percent;
        std::string bar(40, ' ');
        std::fill_n(bar.begin(), percent * 40 / 100, '#');
        std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
        std::fflush(stderr);
    }

private:
    bool m_enabled;
    int m_shown = -1;
};

double Peak(const std::vector<float>& samples) {
    double peak = 0;
    for (float s : samples) peak = std::max(peak, double(std::fabs(s)));
    return peak;
}

void PreparePlugin(KQuenlorAudioEffectPlugin& plugin, const RenderOptions& options, int sampleRate) {
    plugin.SetSampleRate(sampleRate);
    plugin.SetMaxBlockSize(options.blockSize);
    plugin.SetHostChannels(kPluginChannels, kPluginChannels);
    if (options.bypass) plugin.SetBypass(*options.bypass);
    if (options.channelMode) plugin.SetChannelMode(*options.channelMode);
    if (options.upsampling) plugin.SetUpsamplingFactor(*options.upsampling);
    if (options.highQuality) plugin.SetHighQualityUpsampling(*options.highQuality);
    if (options.automaticGain) plugin.SetAutomaticGainControl(*options.automaticGain);
    plugin.InitProcessing();
}

// Source frame `frame` of channel `c`: mono feeds both channels, and the
// frames after the end (fed to flush the latency) are silent.
float SourceSample(const AudioData& source, long long frame, int c) {
    if (frame >= source.Frames()) return 0.0f;
    return source.samples[std::size_t(frame * source.channels + std::min(c, source.channels - 1))];
}

}  // namespace

RenderSummary Render(KQuenlorAudioEffectPlugin& plugin, const RenderOptions& options) {
    if (options.blockSize < 1) throw ToolError("--block must be at least 1");
    if (options.input) {
        std::error_code error;
        if (std::filesystem::equivalent(*options.input, options.output, error))
            throw ToolError("output \"" + options.output.string() + "\" would overwrite the input");
    }
    const AudioData source =
        options.input ? ReadAudioFile(*options.input) : MakeDemoSource(options.demoRate, options.demoSeconds);
    if (source.channels > kPluginChannels)
        throw ToolError("input has " + std::to_string(source.channels) + " channels; mono and stereo files are supported");

    PreparePlugin(plugin, options, source.sampleRate);
    const long long latency = plugin.GetLatency();
    AudioFileWriter writer(options.output, source.channels, source.sampleRate);

    const int block = options.blockSize;
    std::vector<float> inputs[kPluginChannels], outputs[kPluginChannels];
    for (int c = 0; c < kPluginChannels; ++c) {
        inputs[c].resize(std::size_t(block));
        outputs[c].resize(std::size_t(block));
    }
    float* in[kPluginChannels] = {inputs[0].data(), inputs[1].data()};
    float* out[kPluginChannels] = {outputs[0].data(), outputs[1].data()};
    std::vector<float> interleaved(std::size_t(block) * std::size_t(source.channels));
    std::vector<float> processed;
    processed.reserve(source.samples.size());

    const std::vector<TimedMIDIMessage> midi =
        options.midi ? ReadMIDIFile(*options.midi, source.sampleRate) : std::vector<TimedMIDIMessage>{};
    std::size_t nextMessage = 0;

    ProgressBar progress(options.showProgress);
    const long long frames = source.Frames();
    const auto started = std::chrono::steady_clock::now();
    const long long total = frames + latency;
    for (long long done = 0; done < total;) {
        while (nextMessage < midi.size() && midi[nextMessage].frame <= done)
            plugin.ProcessMIDIMessage(0, midi[nextMessage++].bytes.data());
        long long end = std::min<long long>(done + block, total);
        if (nextMessage < midi.size()) end = std::min(end, midi[nextMessage].frame);
        const int n = int(end - done);
        for (int s = 0; s < n; ++s)
            for (int c = 0; c < kPluginChannels; ++c) inputs[c][std::size_t(s)] = SourceSample(source, done + s, c);
        plugin.ProcessBlock(in, out, n, true);
        const int skipped = int(std::clamp<long long>(latency - done, 0, n));  // output before the input arrives
        for (int s = skipped; s < n; ++s)
            for (int c = 0; c < source.channels; ++c)
                interleaved[std::size_t((s - skipped) * source.channels + c)] = outputs[c][std::size_t(s)];
        processed.insert(processed.end(), interleaved.begin(), interleaved.begin() + (n - skipped) * source.channels);
        done += n;
        progress.Show(done, total);
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    writer.Write(processed.data(), frames);
    writer.Commit();

    RenderSummary summary;
    summary.seconds = double(frames) / source.sampleRate;
    summary.peakIn = Peak(source.samples);
    summary.peakOut = Peak(processed);
    summary.realTimeFactor = elapsed > 0 ? summary.seconds / elapsed : 0;
    return summary;
}
