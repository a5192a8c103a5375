#include "Vst2TestHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cmath>
#include <stdexcept>

namespace Vst2Test {

namespace {

// The host being asked during an entry-point call, before the effect's
// resvd1 names it.
std::mutex g_creationLock;
TestHost* g_creating = nullptr;

using PluginMain = AEffect* (*)(audioMasterCallback);

#if defined(_WIN32)
// Paths are UTF-8 here; the module's name is widened for LoadLibraryW.
void* OpenModule(const std::string& path) {
    std::wstring wide(std::size_t(MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), int(wide.size()));
    void* module = LoadLibraryW(wide.c_str());
    if (!module) throw std::runtime_error("LoadLibraryW failed with error " + std::to_string(GetLastError()));
    return module;
}
PluginMain FindPluginMain(void* module) {
    return reinterpret_cast<PluginMain>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "VSTPluginMain")));
}
void CloseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
// Kept mapped after dlclose, as hosts do, so that leak checkers still see
// what the module keeps in its globals.
void* OpenModule(const std::string& path) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module) throw std::runtime_error(dlerror());
    return module;
}
PluginMain FindPluginMain(void* module) { return reinterpret_cast<PluginMain>(dlsym(module, "VSTPluginMain")); }
void CloseModule(void* module) { dlclose(module); }
#endif

}  // namespace

TestHost::~TestHost() {
    Close();
    if (m_module) CloseModule(m_module);
}

AEffect* TestHost::LoadFromModule(const std::string& modulePath) {
    m_module = OpenModule(modulePath);
    PluginMain entry = FindPluginMain(m_module);
    if (!entry) throw std::runtime_error("no VSTPluginMain");
    return Adopt([entry](audioMasterCallback callback) { return entry(callback); });
}

AEffect* TestHost::Adopt(const std::function<AEffect*(audioMasterCallback)>& make) {
    std::lock_guard hold(g_creationLock);
    g_creating = this;
    m_effect = make(&TestHost::Callback);
    g_creating = nullptr;
    if (m_effect) m_effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    return m_effect;
}

VstIntPtr TestHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
    TestHost* host = effect && effect->resvd1 ? reinterpret_cast<TestHost*>(effect->resvd1) : g_creating;
    return host ? host->Answer(opcode, index, value, ptr, opt) : 0;
}

VstIntPtr TestHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    {
        std::lock_guard hold(m_callsLock);
        m_calls.push_back({opcode, index, value, opt});
    }
    switch (opcode) {
        case audioMasterVersion: return m_version;
        case audioMasterGetTime:
            if (!m_time) return 0;
            m_answeredTime = *m_time;
            return reinterpret_cast<VstIntPtr>(&m_answeredTime);
        case audioMasterAutomate:
            if (m_onAutomate) m_onAutomate(index, opt);
            return 0;
        case audioMasterProcessEvents:
            if (m_onEvents) m_onEvents(*static_cast<const VstEvents*>(ptr));
            return 0;
        case audioMasterSizeWindow: return m_sizeWindowAnswer;
        default: return 0;
    }
}

VstIntPtr TestHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt);
}

std::string TestHost::Text(VstInt32 opcode, VstInt32 index) {
    char text[256] = "untouched";
    Dispatch(opcode, index, 0, text);
    return text;
}

void TestHost::Start(float rate, int blockSize) {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effMainsChanged, 0, 1);
}

void TestHost::Process(const std::vector<float>* in, std::vector<float>* out) {
    float* inputs[2] = {const_cast<float*>(in[0].data()), const_cast<float*>(in[1].data())};
    float* outputs[2] = {out[0].data(), out[1].data()};
    m_effect->processReplacing(m_effect, inputs, outputs, VstInt32(out[0].size()));
}

std::vector<std::uint8_t> TestHost::Chunk() {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 && bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

void TestHost::LoadChunk(const std::vector<std::uint8_t>& chunk) {
    Dispatch(effSetChunk, 0, VstIntPtr(chunk.size()), const_cast<std::uint8_t*>(chunk.data()));
}

void TestHost::Close() {
    if (!m_effect) return;
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);
    m_effect = nullptr;
}

std::vector<HostCall> TestHost::Calls() const {
    std::lock_guard hold(m_callsLock);
    return m_calls;
}

std::vector<HostCall> TestHost::CallsOf(VstInt32 opcode) const {
    std::vector<HostCall> found;
    for (const HostCall& call : Calls())
        if (call.opcode == opcode) found.push_back(call);
    return found;
}

void TestHost::ClearCalls() {
    std::lock_guard hold(m_callsLock);
    m_calls.clear();
}

std::vector<float> TestSignal(int frames, int channel) {
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[std::size_t(i)] = float(0.4 * std::sin(0.013 * i * (channel + 1)) + 0.2 * std::sin(0.171 * i + channel));
    return samples;
}

}  // namespace Vst2Test
