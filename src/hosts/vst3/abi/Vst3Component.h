#pragma once
#include "hosts/vst3/abi/Vst3Host.h"

// Interfaces of the processing side of a plug-in.
namespace vst3 {

class IComponent : public IPluginBase {
public:
    static constexpr Uid iid = Uid::Make(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
    virtual tresult VST3_API getControllerClassId(char* classId) = 0;
    virtual tresult VST3_API setIoMode(IoMode mode) = 0;
    virtual int32 VST3_API getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
    virtual tresult VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult VST3_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
    virtual tresult VST3_API setActive(TBool state) = 0;
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;

protected:
    ~IComponent() = default;
};

class IAudioProcessor : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
    virtual tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult VST3_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
    virtual tresult VST3_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 VST3_API getLatencySamples() = 0;
    virtual tresult VST3_API setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult VST3_API setProcessing(TBool state) = 0;
    virtual tresult VST3_API process(ProcessData& data) = 0;
    virtual uint32 VST3_API getTailSamples() = 0;

protected:
    ~IAudioProcessor() = default;
};

class IProcessContextRequirements : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
    virtual uint32 VST3_API getProcessContextRequirements() = 0;

protected:
    ~IProcessContextRequirements() = default;
};

class IConnectionPoint : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
    virtual tresult VST3_API connect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API disconnect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API notify(IMessage* message) = 0;

protected:
    ~IConnectionPoint() = default;
};

}  // namespace vst3
