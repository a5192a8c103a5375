#include "ParameterSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <numeric>

#include "ToolError.h"
#include "foundation/text/KString.h"
#include "plugin/core/KAudioPlugin.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool StartsWithNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    std::strtod(begin, &end);
    return end != begin;
}

// True when the text stands for a value of the parameter: a number for
// numeric parameters, an entry for lists, on/off words or a number for switches.
bool IsReadable(KAudioPlugin& plugin, int index, const std::string& text) {
    const int type = plugin.GetParameterType(index);
    if (type == 3) {
        for (int step = 0; step <= 256; ++step) {
            const double position = step / 256.0;
            if (plugin.GetParameterValueNameFrom01(index, position).EqualsNoCase(KString::FromUTF8(text))) return true;
        }
        return false;
    }
    if (type == 4) {
        const std::string word = Lower(text);
        return word == "on" || word == "off" || word == "true" || word == "false" || StartsWithNumber(text);
    }
    return StartsWithNumber(text);
}

double SwitchPosition(const std::string& text) {
    const std::string word = Lower(text);
    if (word == "on" || word == "true") return 1;
    if (word == "off" || word == "false") return 0;
    return std::strtod(text.c_str(), nullptr) != 0 ? 1 : 0;
}

std::string Join(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) joined += (joined.empty() ? "" : ", ") + word;
    return joined;
}

}  // namespace

std::vector<std::string> NearestIdentifiers(KAudioPlugin& plugin, const std::string& id, int count) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (int i = 0; i < plugin.GetParameterCount(); ++i) {
        const std::string candidate = plugin.GetParameterID(i).ToUTF8();
        ranked.emplace_back(EditDistance(Lower(id), Lower(candidate)), candidate);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (const auto& [distance, candidate] : ranked) {
        if (int(nearest.size()) == count) break;
        if (std::find(nearest.begin(), nearest.end(), candidate) == nearest.end()) nearest.push_back(candidate);
    }
    return nearest;
}

void ApplySettings(KAudioPlugin& plugin, const std::vector<std::string>& settings) {
    for (const std::string& setting : settings) {
        const std::size_t equals = setting.find('=');
        if (equals == std::string::npos || equals == 0)
            throw ToolError("--set needs ID=TEXT, got \"" + setting + "\"");
        const std::string id = setting.substr(0, equals);
        const std::string text = setting.substr(equals + 1);
        const int index = plugin.FindParameter(KString::FromUTF8(id));
        if (index < 0)
            throw ToolError("unknown parameter \"" + id + "\"; nearest: " + Join(NearestIdentifiers(plugin, id, 3)));
        if (!IsReadable(plugin, index, text))
            throw ToolError("cannot read \"" + text + "\" as a value of " + plugin.GetParameterID(index).ToUTF8());
        const double position = plugin.GetParameterType(index) == 4
                                    ? SwitchPosition(text)
                                    : plugin.ParseParameterValueName(index, KString::FromUTF8(text));
        plugin.SetParameter(index, position);
    }
}
