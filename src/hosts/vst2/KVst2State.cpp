// The plug-in's whole state as the host's chunk.
#include "foundation/core/Guard.h"
#include "foundation/threading/KSynchronizer.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"

namespace Vst2 {

VstInt32 KAudioPluginVSTAdapter::getChunk(void** data) {
    return KGuard::Run("KAudioPluginVSTAdapter::getChunk", 0, [&]() -> VstInt32 {
        if (!data) return 0;
        KMemoryStream state = m_plugin->SaveState();
        KScopedLock hold(m_chunkLock);
        m_chunk = state;
        *data = const_cast<std::uint8_t*>(m_chunk.Data());
        return VstInt32(m_chunk.Size());
    });
}

VstInt32 KAudioPluginVSTAdapter::setChunk(const void* data, VstInt32 size) {
    KGuard::Run("KAudioPluginVSTAdapter::setChunk", [&] {
        if (data && size > 0) m_plugin->LoadState(data, size);
    });
    return 0;
}

}  // namespace Vst2
