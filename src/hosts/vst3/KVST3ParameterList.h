#pragma once
#include <atomic>
#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/text/KString.h"
#include "hosts/vst3/abi/Vst3Structures.h"

// The parameters the controller publishes, in registration order, with the
// controller-side normalised value of each. Values may be set from the
// host's editing thread while others read them, so they are atomic; the
// list itself is only built during initialisation.
class KVST3ParameterList {
public:
    struct Description {
        vst3::ParamID id;
        KString title;
        int stepCount;
        double defaultValue;
        int flags;
    };

    void Add(const Description& description);
    int Count() const noexcept { return int(m_infos.size()); }
    bool Contains(vst3::ParamID id) const noexcept { return Find(id) >= 0; }

    // False for an index outside the list.
    bool Info(int index, vst3::ParameterInfo& info) const noexcept;
    // Discrete parameters map 0..1 onto their steps 0..stepCount; continuous
    // ones are their own plain value. Unknown IDs pass the value through.
    double ToPlain(vst3::ParamID id, double normalized) const noexcept;
    double ToNormalized(vst3::ParamID id, double plain) const noexcept;
    // The value is clamped to 0..1; false for an unknown ID.
    bool SetNormalized(vst3::ParamID id, double value) noexcept;
    double Normalized(vst3::ParamID id) const noexcept;

private:
    int Find(vst3::ParamID id) const noexcept;

    std::vector<vst3::ParameterInfo> m_infos;
    std::vector<std::unique_ptr<std::atomic<double>>> m_values;
    std::unordered_map<vst3::ParamID, int> m_indexByID;
};
