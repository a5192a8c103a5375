#include "ParamsTable.h"

#include <algorithm>
#include <string>
#include <vector>

#include "plugin/core/KAudioPlugin.h"

namespace {

struct Row {
    std::string index, id, name, value, defaultValue;
};

// Column width in characters, counting a UTF-8 sequence as one character.
std::size_t DisplayWidth(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void Pad(std::ostream& out, const std::string& text, std::size_t width) {
    out << text << std::string(width - DisplayWidth(text) + 2, ' ');
}

}  // namespace

void PrintParameterTable(KAudioPlugin& plugin, std::ostream& out) {
    std::vector<Row> rows{{"index", "identifier", "name", "value", "default"}};
    for (int i = 0; i < plugin.GetParameterCount(); ++i) {
        rows.push_back({std::to_string(i), plugin.GetParameterID(i).ToUTF8(), plugin.GetParameterName(i).ToUTF8(),
                        plugin.GetParameterValueName(i).ToUTF8(),
                        plugin.GetParameterDefaultValueName(i).ToUTF8()});
    }
    std::size_t widths[4] = {};
    for (const Row& row : rows) {
        widths[0] = std::max(widths[0], DisplayWidth(row.index));
        widths[1] = std::max(widths[1], DisplayWidth(row.id));
        widths[2] = std::max(widths[2], DisplayWidth(row.name));
        widths[3] = std::max(widths[3], DisplayWidth(row.value));
    }
    for (const Row& row : rows) {
        out << std::string(widths[0] - row.index.size(), ' ') << row.index << "  ";
        Pad(out, row.id, widths[1]);
        Pad(out, row.name, widths[2]);
        Pad(out, row.value, widths[3]);
        out << row.defaultValue << '\n';
    }
}
