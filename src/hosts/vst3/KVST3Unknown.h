#pragma once
#include <atomic>

#include "hosts/vst3/abi/Vst3Unknown.h"

// Reference counting and interface look-up shared by every object the
// bridge hands to a host.
class KVST3RefCount {
public:
    // A new object belongs to whoever created it.
    std::uint32_t Add() noexcept { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The new count; the owner deletes itself at 0.
    std::uint32_t Drop() noexcept { return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<std::uint32_t> m_count{1};
};

namespace KVST3 {

template <class Interface>
bool Is(const char* iid) noexcept {
    return Interface::iid.Matches(iid);
}

// Completes queryInterface: `found` is the matching sub-object or null.
inline vst3::tresult Answer(vst3::FUnknown* found, void** obj) noexcept {
    if (!obj) return vst3::kInvalidArgument;
    *obj = found;
    if (!found) return vst3::kNoInterface;
    found->addRef();
    return vst3::kResultOk;
}

// The host object's `Interface` with a reference the caller releases, or
// null.
template <class Interface>
Interface* Query(vst3::FUnknown* object) noexcept {
    void* found = nullptr;
    if (!object) return nullptr;
    const auto* iid = reinterpret_cast<const char*>(Interface::iid.bytes.data());
    if (object->queryInterface(iid, &found) != vst3::kResultOk) return nullptr;
    return static_cast<Interface*>(found);
}

}  // namespace KVST3
