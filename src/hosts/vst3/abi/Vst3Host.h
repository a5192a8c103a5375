#pragma once
#include "hosts/vst3/abi/Vst3Structures.h"
#include "hosts/vst3/abi/Vst3Unknown.h"

// Interfaces the host implements and hands to the plug-in.
namespace vst3 {

class IHostApplication : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
    virtual tresult VST3_API getName(String128 name) = 0;
    virtual tresult VST3_API createInstance(char* cid, char* iid, void** obj) = 0;

protected:
    ~IHostApplication() = default;
};

class IBStream : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
    virtual tresult VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult VST3_API seek(int64 pos, int32 mode, int64* result) = 0;
    virtual tresult VST3_API tell(int64* pos) = 0;

protected:
    ~IBStream() = default;
};

class IEventList : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
    virtual int32 VST3_API getEventCount() = 0;
    virtual tresult VST3_API getEvent(int32 index, Event& e) = 0;
    virtual tresult VST3_API addEvent(Event& e) = 0;

protected:
    ~IEventList() = default;
};

class IParamValueQueue : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
    virtual ParamID VST3_API getParameterId() = 0;
    virtual int32 VST3_API getPointCount() = 0;
    virtual tresult VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult VST3_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;

protected:
    ~IParamValueQueue() = default;
};

class IParameterChanges : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
    virtual int32 VST3_API getParameterCount() = 0;
    virtual IParamValueQueue* VST3_API getParameterData(int32 index) = 0;
    virtual IParamValueQueue* VST3_API addParameterData(const ParamID& id, int32& index) = 0;

protected:
    ~IParameterChanges() = default;
};

class IComponentHandler : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
    virtual tresult VST3_API beginEdit(ParamID id) = 0;
    virtual tresult VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult VST3_API endEdit(ParamID id) = 0;
    virtual tresult VST3_API restartComponent(int32 flags) = 0;

protected:
    ~IComponentHandler() = default;
};

class IAttributeList : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
    using AttrID = const char*;
    virtual tresult VST3_API setInt(AttrID id, int64 value) = 0;
    virtual tresult VST3_API getInt(AttrID id, int64& value) = 0;
    virtual tresult VST3_API setFloat(AttrID id, double value) = 0;
    virtual tresult VST3_API getFloat(AttrID id, double& value) = 0;
    virtual tresult VST3_API setString(AttrID id, const TChar* string) = 0;
    virtual tresult VST3_API getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
    virtual tresult VST3_API setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
    virtual tresult VST3_API getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;

protected:
    ~IAttributeList() = default;
};

class IMessage : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
    virtual FIDString VST3_API getMessageID() = 0;
    virtual void VST3_API setMessageID(FIDString id) = 0;
    virtual IAttributeList* VST3_API getAttributes() = 0;

protected:
    ~IMessage() = default;
};

}  // namespace vst3
