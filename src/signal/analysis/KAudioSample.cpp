#include "signal/analysis/KAudioSample.h"

#include <sndfile.h>

#include <memory>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"

namespace {

[[noreturn]] void RaiseUnreadable(const KString& path, SNDFILE* file) {
    KString message = KFormatter("Unable to read the sample file {0}.") << path;
    message.Append(" ");
    message.Append(KString::FromUTF8(sf_strerror(file)));
    throw KException(message);
}

struct FileCloser {
    void operator()(SNDFILE* file) const noexcept { sf_close(file); }
};

}  // namespace

KAudioSample KAudioSample::Read(const KString& path) {
    SF_INFO info{};
    std::unique_ptr<SNDFILE, FileCloser> file(sf_open(path.ToUTF8().c_str(), SFM_READ, &info));
    if (!file) RaiseUnreadable(path, nullptr);
    if (info.channels < 1 || info.samplerate < 1) RaiseUnreadable(path, file.get());

    KAudioSample sample;
    sample.sampleRate = info.samplerate;
    // Read in blocks: compressed formats may not know their length in advance.
    constexpr sf_count_t kBlockFrames = 65536;
    std::vector<float> block(std::size_t(kBlockFrames) * info.channels);
    const float channelScale = 1.0f / float(info.channels);
    for (;;) {
        const sf_count_t read = sf_readf_float(file.get(), block.data(), kBlockFrames);
        if (read <= 0) break;
        for (sf_count_t f = 0; f < read; ++f) {
            float sum = 0;
            for (int c = 0; c < info.channels; ++c) sum += block[std::size_t(f * info.channels + c)];
            sample.frames.push_back(sum * channelScale);
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) RaiseUnreadable(path, file.get());
    return sample;
}
