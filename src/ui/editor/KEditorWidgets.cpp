#include "ui/editor/KEditorWidgets.h"

#include "effect/HalvaneAudioEffectPlugin.h"
#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLItem.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/pipeline/KChannelModes.h"
#include "ui/editor/KEditorModel.h"
#include "ui/editor/KEditorPresets.h"
#include "ui/editor/KEditorSlots.h"
#include "ui/editor/KParameterSource.h"
#include "ui/editor/KSettingSource.h"
#include "ui/widgets/KButton.h"
#include "ui/widgets/KChoice.h"
#include "ui/widgets/KKnob.h"
#include "ui/widgets/KLabel.h"
#include "ui/widgets/KListView.h"
#include "ui/widgets/KPanel.h"
#include "ui/widgets/KSlider.h"
#include "ui/widgets/KToggle.h"
#include "ui/widgets/KWaveformView.h"
#include "ui/widgets/KXYPad.h"

namespace {

KString Text(const char* utf8) { return KString::FromUTF8(utf8); }
std::vector<KString> Texts(std::initializer_list<const char*> items) {
    std::vector<KString> texts;
    for (const char* item : items) texts.push_back(Text(item));
    return texts;
}

std::unique_ptr<KValueSource> OnOffSetting(const char* name, std::function<bool()> get, std::function<void(bool)> set) {
    return std::make_unique<KSettingSource>(
        Text(name), Texts({"Off", "On"}), 0, [get] { return get() ? 1 : 0; }, [set](int on) { set(on != 0); });
}

std::unique_ptr<KValueSource> UpsamplingSetting(KAudioPlugin& plugin) {
    // The factors 1, 2, 4 and 8 as choices 0 to 3.
    return std::make_unique<KSettingSource>(
        Text("Upsampling"), Texts({"Off", "2x", "4x", "8x"}), 0,
        [&plugin] {
            int choice = 0;
            while ((1 << choice) < plugin.PipelineSettings().upsampling && choice < 3) ++choice;
            return choice;
        },
        [&plugin](int choice) { plugin.SetUpsamplingFactor(1 << choice); });
}

std::unique_ptr<KValueSource> ChannelModeSetting(KAudioPlugin& plugin) {
    std::vector<KString> names;
    for (const char* name : KChannelModes::DisplayNames()) names.push_back(Text(name));
    return std::make_unique<KSettingSource>(
        Text("Channels"), std::move(names), 0, [&plugin] { return plugin.PipelineSettings().channelMode; },
        [&plugin](int mode) { plugin.SetChannelMode(mode); });
}

std::unique_ptr<KValueSource> Setting(const KString& name, KAudioPlugin& plugin) {
    if (name == Text("bypass"))
        return OnOffSetting(
            "Bypass", [&plugin] { return plugin.Bypass(); },
            [&plugin](bool on) {
                plugin.SetBypass(on);
                if (KAudioPluginAdapter* host = plugin.HostAdapter()) host->SendBypassAutomation(on);
            });
    if (name == Text("channelmode")) return ChannelModeSetting(plugin);
    if (name == Text("upsampling")) return UpsamplingSetting(plugin);
    if (name == Text("highquality"))
        return OnOffSetting(
            "High quality", [&plugin] { return plugin.PipelineSettings().highQualityUpsampling; },
            [&plugin](bool on) { plugin.SetHighQualityUpsampling(on); });
    if (name == Text("gaincompensation"))
        return OnOffSetting(
            "Gain compensation", [&plugin] { return plugin.PipelineSettings().automaticGainControl; },
            [&plugin](bool on) { plugin.SetAutomaticGainControl(on); });
    throw KException(KFormatter("Unknown editor setting \"{0}\".") << name);
}

// The control's value: a host parameter or a setting; null for a parameter
// the plug-in does not have.
std::unique_ptr<KValueSource> ValueSource(const KXMLItem& item, KEditorWidgetContext& context) {
    const KString setting = item.Attribute("setting", KString());
    if (!setting.IsEmpty()) return Setting(setting, context.model.Plugin());
    const int index = context.model.Find(item.Attribute("param", KString()));
    if (index < 0) return nullptr;
    return std::make_unique<KParameterSource>(context.model, index, item.Attribute("label", KString()));
}

template <class Widget>
std::unique_ptr<KWidget> ValueWidget(const KXMLItem& item, const KLayoutControl& place, KEditorWidgetContext& context) {
    auto source = ValueSource(item, context);
    if (!source) return nullptr;
    return std::make_unique<Widget>(place, std::move(source));
}

KPanel::Style PanelStyle(const KString& style) {
    if (style == Text("header")) return KPanel::Style::Header;
    if (style == Text("window")) return KPanel::Style::Window;
    return KPanel::Style::Card;
}

KLabel::Style LabelStyle(const KString& style) {
    if (style == Text("title")) return KLabel::Style::Title;
    if (style == Text("info")) return KLabel::Style::Info;
    return KLabel::Style::Heading;
}

std::unique_ptr<KWidget> Waveform(const KXMLItem& item, const KLayoutControl& place, KEditorWidgetContext& context) {
    HalvaneAudioEffectPlugin* effect = context.model.Effect();
    const int oscillator = int(item.IntegerAttribute("oscillator", 0));
    if (!effect || oscillator < 0 || oscillator >= HalvaneAudioEffectPlugin::kOscillators) return nullptr;
    const int enable = context.model.Find(KFormatter("enable{0}") << oscillator);
    KEditorModel& model = context.model;
    return std::make_unique<KWaveformView>(place, effect->Generator(oscillator),
                                           [&model, enable] { return enable < 0 || model.Value(enable) >= 0.5; });
}

std::unique_ptr<KWidget> SlotButton(const KXMLItem& item, const KLayoutControl& place, KEditorWidgetContext& context) {
    const int slot = int(item.IntegerAttribute("slot", 0));
    if (slot < 0 || slot >= KEditorSlots::kSlots) return nullptr;
    KEditorSlots& slots = context.slots;
    return std::make_unique<KButton>(
        place, KString::FromChar(char16_t(u'A' + slot)), [&slots, slot] { slots.Select(slot); },
        [&slots, slot] { return slots.Active() == slot; });
}

std::unique_ptr<KWidget> MorphPad(const KLayoutControl& place, KEditorWidgetContext& context) {
    KEditorSlots& slots = context.slots;
    KXYPad::Binding binding{[&slots] { return slots.MorphX(); }, [&slots] { return slots.MorphY(); },
                            [&slots](double x, double y) { slots.MorphTo(x, y); }, [&slots] { slots.BeginMorph(); },
                            [&slots] { slots.EndMorph(); }};
    return std::make_unique<KXYPad>(place, std::move(binding),
                                    std::array<KString, 4>{Text("A"), Text("B"), Text("C"), Text("D")});
}

std::unique_ptr<KWidget> PresetList(const KLayoutControl& place, KEditorWidgetContext& context) {
    KEditorPresets& presets = context.presets;
    KListView::Binding binding{[&presets] { return presets.Lines(); }, [&presets] { return presets.Current(); },
                               [&presets](int line) { presets.Load(line); }};
    return std::make_unique<KListView>(place, std::move(binding));
}

std::unique_ptr<KWidget> PresetName(const KLayoutControl& place, KEditorWidgetContext& context) {
    KEditorPresets& presets = context.presets;
    return std::make_unique<KLabel>(place, KString(), KLabel::Style::Info, [&presets] {
        return presets.Message().IsEmpty() ? presets.CurrentName() : presets.Message();
    });
}

std::unique_ptr<KWidget> PresetButton(const KXMLItem& item, const KLayoutControl& place,
                                      KEditorWidgetContext& context) {
    const KString action = item.Attribute("action", KString());
    KEditorPresets& presets = context.presets;
    if (action == Text("previous"))
        return std::make_unique<KButton>(place, Text("\u2039"), [&presets] { presets.Step(-1); });
    if (action == Text("next")) return std::make_unique<KButton>(place, Text("\u203a"), [&presets] { presets.Step(1); });
    if (action == Text("load"))
        return std::make_unique<KButton>(place, Text("Load"), [&presets] { presets.Load(presets.Current()); });
    if (action == Text("save")) return std::make_unique<KButton>(place, Text("Save"), [&presets] { presets.Save(); });
    if (action == Text("saveas")) {
        // The new name is typed over the preset name box when there is one.
        const KLayoutControl* nameBox = place.Parent() ? place.Parent()->FindDescendant(Text("presetname")) : nullptr;
        const KLayoutControl& over = nameBox ? *nameBox : place;
        auto start = context.startTextEntry;
        return std::make_unique<KButton>(place, Text("Save as"), [start, &over, &presets] {
            start(over, Text("New preset"), [&presets](const KString& name) {
                if (name.IsEmpty()) return false;
                presets.SaveAs(name);
                return true;
            });
        });
    }
    throw KException(KFormatter("Unknown preset action \"{0}\".") << action);
}

}  // namespace

std::unique_ptr<KWidget> MakeEditorWidget(const KXMLItem& item, const KLayoutControl& place,
                                          KEditorWidgetContext& context) {
    const KString kind = item.Attribute("widget", KString());
    if (kind.IsEmpty()) return nullptr;
    if (kind == Text("panel")) return std::make_unique<KPanel>(place, PanelStyle(item.Attribute("style", KString())));
    if (kind == Text("label"))
        return std::make_unique<KLabel>(place, item.Attribute("text", KString()),
                                        LabelStyle(item.Attribute("style", KString())));
    if (kind == Text("knob")) return ValueWidget<KKnob>(item, place, context);
    if (kind == Text("slider")) return ValueWidget<KSlider>(item, place, context);
    if (kind == Text("toggle")) return ValueWidget<KToggle>(item, place, context);
    if (kind == Text("choice")) return ValueWidget<KChoice>(item, place, context);
    if (kind == Text("waveform")) return Waveform(item, place, context);
    if (kind == Text("slot")) return SlotButton(item, place, context);
    if (kind == Text("morphpad")) return MorphPad(place, context);
    if (kind == Text("presets")) return PresetList(place, context);
    if (kind == Text("presetname")) return PresetName(place, context);
    if (kind == Text("presetbutton")) return PresetButton(item, place, context);
    throw KException(KFormatter("Unknown editor widget \"{0}\".") << kind);
}
