#pragma once
// Host-side objects a VST 3 test host hands to the plug-in: the host
// context, a memory stream, parameter changes, event lists and a component
// handler that records what the plug-in sends. They live on the test's
// stack, so their reference counts are only tracked, never acted on.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "hosts/vst3/abi/Vst3Component.h"
#include "hosts/vst3/abi/Vst3Controller.h"

namespace vst3test {

template <class Interface>
class HostObject : public Interface {
public:
    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override {
        const bool known = Interface::iid.Matches(iid) || vst3::FUnknown::iid.Matches(iid);
        *obj = known ? this : nullptr;
        if (known) addRef();
        return known ? vst3::kResultOk : vst3::kNoInterface;
    }
    vst3::uint32 VST3_API addRef() override { return ++references; }
    vst3::uint32 VST3_API release() override { return --references; }

    std::atomic<int> references{1};
};

class HostApplication final : public HostObject<vst3::IHostApplication> {
public:
    vst3::tresult VST3_API getName(vst3::String128 name) override {
        std::memset(name, 0, sizeof(vst3::String128));
        const char16_t text[] = u"Test Host";
        std::memcpy(name, text, sizeof text);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API createInstance(char*, char*, void** obj) override {
        *obj = nullptr;
        return vst3::kResultFalse;
    }
};

class MemoryStream final : public HostObject<vst3::IBStream> {
public:
    vst3::tresult VST3_API read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override {
        const auto count = std::min<std::size_t>(std::size_t(std::max(numBytes, 0)), bytes.size() - position);
        std::memcpy(buffer, bytes.data() + position, count);
        position += count;
        if (numBytesRead) *numBytesRead = vst3::int32(count);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override {
        const auto* data = static_cast<const std::uint8_t*>(buffer);
        bytes.resize(std::max(bytes.size(), position + std::size_t(numBytes)));
        std::memcpy(bytes.data() + position, data, std::size_t(numBytes));
        position += std::size_t(numBytes);
        if (numBytesWritten) *numBytesWritten = numBytes;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override {
        const vst3::int64 base = mode == vst3::kIBSeekSet ? 0 : mode == vst3::kIBSeekCur ? vst3::int64(position)
                                                                                           : vst3::int64(bytes.size());
        position = std::size_t(std::clamp<vst3::int64>(base + pos, 0, vst3::int64(bytes.size())));
        if (result) *result = vst3::int64(position);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API tell(vst3::int64* pos) override {
        if (pos) *pos = vst3::int64(position);
        return vst3::kResultOk;
    }
    void Rewind() { position = 0; }

    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
};

class ParamValueQueue final : public HostObject<vst3::IParamValueQueue> {
public:
    explicit ParamValueQueue(vst3::ParamID id) : id(id) {}
    vst3::ParamID VST3_API getParameterId() override { return id; }
    vst3::int32 VST3_API getPointCount() override { return vst3::int32(points.size()); }
    vst3::tresult VST3_API getPoint(vst3::int32 index, vst3::int32& offset, vst3::ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return vst3::kResultFalse;
        std::tie(offset, value) = points[std::size_t(index)];
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API addPoint(vst3::int32 offset, vst3::ParamValue value, vst3::int32& index) override {
        index = getPointCount();
        points.emplace_back(offset, value);
        return vst3::kResultOk;
    }

    vst3::ParamID id;
    std::vector<std::pair<vst3::int32, double>> points;
};

class ParameterChanges final : public HostObject<vst3::IParameterChanges> {
public:
    vst3::int32 VST3_API getParameterCount() override { return vst3::int32(queues.size()); }
    vst3::IParamValueQueue* VST3_API getParameterData(vst3::int32 index) override {
        return index >= 0 && index < getParameterCount() ? &queues[std::size_t(index)] : nullptr;
    }
    vst3::IParamValueQueue* VST3_API addParameterData(const vst3::ParamID& id, vst3::int32& index) override {
        index = getParameterCount();
        queues.emplace_back(id);
        return &queues.back();
    }
    // One queue for `id` holding `points` (offset, value).
    void Add(vst3::ParamID id, std::vector<std::pair<vst3::int32, double>> points) {
        queues.emplace_back(id);
        queues.back().points = std::move(points);
    }

    std::deque<ParamValueQueue> queues;
};

class EventList final : public HostObject<vst3::IEventList> {
public:
    vst3::int32 VST3_API getEventCount() override { return vst3::int32(events.size()); }
    vst3::tresult VST3_API getEvent(vst3::int32 index, vst3::Event& e) override {
        if (index < 0 || index >= getEventCount()) return vst3::kResultFalse;
        e = events[std::size_t(index)];
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API addEvent(vst3::Event& e) override {
        events.push_back(e);
        return vst3::kResultOk;
    }

    std::vector<vst3::Event> events;
};

class ComponentHandler final : public HostObject<vst3::IComponentHandler> {
public:
    vst3::tresult VST3_API beginEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult VST3_API performEdit(vst3::ParamID id, vst3::ParamValue value) override {
        std::lock_guard hold(mutex);
        edits.emplace_back(id, value);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API endEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult VST3_API restartComponent(vst3::int32 flags) override {
        std::lock_guard hold(mutex);
        restarts.push_back(flags);
        return vst3::kResultOk;
    }

    std::mutex mutex;
    std::vector<std::pair<vst3::ParamID, double>> edits;
    std::vector<vst3::int32> restarts;
};

}  // namespace vst3test
