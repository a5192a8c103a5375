// The edit-controller side of the VST 3 bridge: parameters, texts, MIDI
// mapping and units.
#include <cstring>

#include "foundation/core/Guard.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/KVST3EditorView.h"
#include "hosts/vst3/KVST3Text.h"

bool KAudioPluginVST3Adapter::IsPluginParameter(vst3::ParamID id) const noexcept {
    return id < vst3::ParamID(m_plugin->ParameterCount());
}

vst3::int32 KAudioPluginVST3Adapter::getParameterCount() { return m_parameters.Count(); }

vst3::tresult KAudioPluginVST3Adapter::getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) {
    return m_parameters.Info(paramIndex, info) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult KAudioPluginVST3Adapter::getParamStringByValue(vst3::ParamID id, vst3::ParamValue value,
                                                             vst3::TChar* text) {
    if (!text) return vst3::kInvalidArgument;
    return KGuard::Run("KAudioPluginVST3Adapter::getParamStringByValue", vst3::kResultFalse, [&] {
        KVST3::CopyText(text, 128, m_plugin->ParameterValueTextFor(int(id), value));
        return vst3::kResultOk;
    });
}

vst3::tresult KAudioPluginVST3Adapter::getParamValueByString(vst3::ParamID id, vst3::TChar* text,
                                                             vst3::ParamValue& value) {
    if (!text) return vst3::kInvalidArgument;
    return KGuard::Run("KAudioPluginVST3Adapter::getParamValueByString", vst3::kResultFalse, [&] {
        value = m_plugin->ParseParameterText(int(id), KVST3::FromHost(text));
        return vst3::kResultOk;
    });
}

vst3::ParamValue KAudioPluginVST3Adapter::normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue value) {
    return m_parameters.ToPlain(id, value);
}

vst3::ParamValue KAudioPluginVST3Adapter::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plain) {
    return m_parameters.ToNormalized(id, plain);
}

// The plug-in is the one place its values live; the controller's copies
// only serve parameters the plug-in does not own.
vst3::ParamValue KAudioPluginVST3Adapter::getParamNormalized(vst3::ParamID id) {
    if (id == kBypassID) return m_plugin->Bypass() ? 1.0 : 0.0;
    if (id < kControllerBaseID) return IsPluginParameter(id) ? m_plugin->Parameter(int(id)) : 0.0;
    return 0.0;
}

vst3::tresult KAudioPluginVST3Adapter::setParamNormalized(vst3::ParamID id, vst3::ParamValue value) {
    return m_parameters.SetNormalized(id, value) ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::setComponentHandler(vst3::IComponentHandler* handler) {
    ReplaceHandler(handler);
    return vst3::kResultOk;
}

void KAudioPluginVST3Adapter::ReplaceHandler(vst3::IComponentHandler* handler) noexcept {
    if (handler) handler->addRef();
    if (vst3::IComponentHandler* old = m_handler.exchange(handler)) old->release();
}

// One view at a time, named "editor" as hosts ask for it. Builds without an
// editor answer none, and hosts show their own controls.
vst3::IPlugView* KAudioPluginVST3Adapter::createView(vst3::FIDString name) {
    if (!name || std::strcmp(name, "editor") != 0 || m_view || !m_plugin->HasEditor()) return nullptr;
    return KGuard::Run("KAudioPluginVST3Adapter::createView", static_cast<vst3::IPlugView*>(nullptr), [&] {
        m_view = new KVST3EditorView(*this, *m_plugin);
        return static_cast<vst3::IPlugView*>(m_view);
    });
}

vst3::tresult KAudioPluginVST3Adapter::getMidiControllerAssignment(vst3::int32, vst3::int16,
                                                                   vst3::CtrlNumber controller, vst3::ParamID& id) {
    if (controller < 0 || controller >= vst3::kCountCtrlNumber) return vst3::kResultFalse;
    id = kControllerBaseID + vst3::ParamID(controller);
    return vst3::kResultOk;
}

vst3::int32 KAudioPluginVST3Adapter::getUnitCount() { return 1; }

vst3::tresult KAudioPluginVST3Adapter::getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) {
    if (unitIndex != 0) return vst3::kResultFalse;
    info = {};
    info.id = vst3::kRootUnitId;
    info.parentUnitId = vst3::kNoParentUnitId;
    KVST3::CopyText(info.name, "Root");
    info.programListId = vst3::kNoProgramListId;
    return vst3::kResultOk;
}

vst3::int32 KAudioPluginVST3Adapter::getProgramListCount() { return 0; }

vst3::tresult KAudioPluginVST3Adapter::getProgramListInfo(vst3::int32, vst3::ProgramListInfo&) {
    return vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::getProgramName(vst3::ProgramListID, vst3::int32, vst3::TChar*) {
    return vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::getProgramInfo(vst3::ProgramListID, vst3::int32, const char*, vst3::TChar*) {
    return vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::hasProgramPitchNames(vst3::ProgramListID, vst3::int32) {
    return vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::getProgramPitchName(vst3::ProgramListID, vst3::int32, vst3::int16,
                                                           vst3::TChar*) {
    return vst3::kResultFalse;
}

vst3::UnitID KAudioPluginVST3Adapter::getSelectedUnit() { return vst3::kRootUnitId; }

vst3::tresult KAudioPluginVST3Adapter::selectUnit(vst3::UnitID unitId) {
    return unitId == vst3::kRootUnitId ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult KAudioPluginVST3Adapter::getUnitByBus(vst3::MediaType, vst3::BusDirection, vst3::int32, vst3::int32,
                                                    vst3::UnitID& unitId) {
    unitId = vst3::kRootUnitId;
    return vst3::kResultOk;
}

vst3::tresult KAudioPluginVST3Adapter::setUnitProgramData(vst3::int32, vst3::int32, vst3::IBStream*) {
    return vst3::kResultFalse;
}
