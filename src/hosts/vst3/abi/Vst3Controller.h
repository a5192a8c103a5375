#pragma once
#include "hosts/vst3/abi/Vst3Host.h"
#include "hosts/vst3/abi/Vst3View.h"

// Interfaces of the editing side of a plug-in.
namespace vst3 {

class IEditController : public IPluginBase {
public:
    static constexpr Uid iid = Uid::Make(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
    virtual tresult VST3_API setComponentState(IBStream* state) = 0;
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;
    virtual int32 VST3_API getParameterCount() = 0;
    virtual tresult VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized, TChar* string) = 0;
    virtual tresult VST3_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
    virtual ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue VST3_API getParamNormalized(ParamID id) = 0;
    virtual tresult VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult VST3_API setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* VST3_API createView(FIDString name) = 0;

protected:
    ~IEditController() = default;
};

class IMidiMapping : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
    virtual tresult VST3_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                         CtrlNumber midiControllerNumber, ParamID& id) = 0;

protected:
    ~IMidiMapping() = default;
};

class IUnitInfo : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
    virtual int32 VST3_API getUnitCount() = 0;
    virtual tresult VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 VST3_API getProgramListCount() = 0;
    virtual tresult VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult VST3_API getProgramName(ProgramListID listId, int32 programIndex, TChar* name) = 0;
    virtual tresult VST3_API getProgramInfo(ProgramListID listId, int32 programIndex, const char* attributeId,
                                            TChar* attributeValue) = 0;
    virtual tresult VST3_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                 TChar* name) = 0;
    virtual UnitID VST3_API getSelectedUnit() = 0;
    virtual tresult VST3_API selectUnit(UnitID unitId) = 0;
    virtual tresult VST3_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                          UnitID& unitId) = 0;
    virtual tresult VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;

protected:
    ~IUnitInfo() = default;
};

}  // namespace vst3
