#include "foundation/xml/KXMLWriter.h"

#include <algorithm>
#include <array>
#include <vector>

#include "foundation/streams/KBufferedWriter.h"
#include "foundation/text/KEncoding.h"
#include "foundation/xml/KXMLEntities.h"
#include "foundation/xml/KXMLItem.h"

namespace {

constexpr int kMaxIndentation = 32;
constexpr std::array<char16_t, kMaxIndentation> kTabs = [] {
    std::array<char16_t, kMaxIndentation> tabs{};
    tabs.fill(u'\t');
    return tabs;
}();
constexpr int kWrapColumn = 60;
constexpr int kLastDepthWithLineFeed = 1;

}  // namespace

bool KXMLWriter::IsEmpty(const KXMLItem& item) noexcept { return item.Text().IsEmpty() && item.SubItemCount() == 0; }

void KXMLWriter::Write(const KXMLItem& item) {
    struct Visit {
        const KXMLItem* item;
        int nextSubItem;
    };
    std::vector<Visit> path{{&item, 0}};
    Open(item, 0);
    while (!path.empty()) {
        Visit& visit = path.back();
        const int depth = int(path.size()) - 1;
        if (visit.nextSubItem < visit.item->SubItemCount()) {
            const KXMLItem& subItem = visit.item->SubItemAt(visit.nextSubItem++);
            Open(subItem, depth + 1);
            path.push_back({&subItem, 0});
        } else {
            if (!IsEmpty(*visit.item)) Close(*visit.item, depth);
            path.pop_back();
        }
    }
}

void KXMLWriter::AppendStartTag(const KXMLItem& item) {
    m_line.Append(u'<').Append(item.Name());
    for (const KAttribute& attribute : item.Attributes()) {
        m_line.Append(u' ').Append(attribute.name).Append("=\"");
        KXMLEntities::AppendEscaped(m_line, attribute.value);
        m_line.Append(u'"');
    }
}

void KXMLWriter::AppendEndTag(const KXMLItem& item) { m_line.Append("</").Append(item.Name()).Append(u'>'); }

void KXMLWriter::Emit() {
    m_codec.Write(m_line, m_output);
    m_line.Remove(0, m_line.Length());
}

void KXMLIndentedWriter::AppendIndentation(int depth) {
    Line().Append(kTabs.data(), std::clamp(depth, 0, kMaxIndentation));
}

void KXMLIndentedWriter::Open(const KXMLItem& item, int depth) {
    AppendIndentation(depth);
    AppendStartTag(item);
    Line().Append(IsEmpty(item) ? KString("/>\n") : KString(">\n"));
    Emit();
    if (item.Text().IsEmpty()) return;
    KString escaped;
    KXMLEntities::AppendEscaped(escaped, item.Text());
    WriteText(escaped, depth + 1);
}

// A line ends at the first space at least kWrapColumn characters after its
// start; that space is dropped. A text without such a space stays one line.
void KXMLIndentedWriter::WriteText(const KString& escaped, int depth) {
    for (int start = 0; start < escaped.Length();) {
        const int space = escaped.Find(u' ', start + kWrapColumn);
        const int end = space == KString::npos ? escaped.Length() : space;
        AppendIndentation(depth);
        Line().Append(escaped.Substring(start, end - start)).Append(u'\n');
        Emit();
        start = end + 1;
    }
}

void KXMLIndentedWriter::Close(const KXMLItem& item, int depth) {
    AppendIndentation(depth);
    AppendEndTag(item);
    Line().Append(u'\n');
    Emit();
}

void KXMLCompactWriter::Open(const KXMLItem& item, int depth) {
    AppendStartTag(item);
    if (IsEmpty(item)) {
        Line().Append("/>");
        if (depth <= kLastDepthWithLineFeed) Line().Append(u'\n');
    } else {
        Line().Append(u'>');
        KXMLEntities::AppendEscaped(Line(), item.Text());
    }
    Emit();
}

void KXMLCompactWriter::Close(const KXMLItem& item, int depth) {
    AppendEndTag(item);
    if (depth <= kLastDepthWithLineFeed) Line().Append(u'\n');
    Emit();
}
