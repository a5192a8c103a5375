#include "foundation/xml/KXMLEntities.h"

#include <array>

namespace KXMLEntities {
namespace {

struct Entity {
    char16_t character;
    std::u16string_view name;
};

constexpr std::array<Entity, 6> kEntities{{
    {u'&', u"amp"},
    {u'<', u"lt"},
    {u'>', u"gt"},
    {u'\'', u"apos"},
    {u'"', u"quot"},
    {u'\n', u"#10"},
}};

constexpr bool NoEmptyName() {
    for (const Entity& entity : kEntities)
        if (entity.name.empty()) return false;
    return true;
}
static_assert(NoEmptyName(), "XML entity cannot have empty name.");

char16_t FoldCase(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

// The entity whose name and semicolon follow the ampersand at `text[0]`.
const Entity* Match(std::u16string_view text) {
    for (const Entity& entity : kEntities) {
        const std::size_t length = entity.name.size();
        if (text.size() < length + 2 || text[length + 1] != u';') continue;
        bool same = true;
        for (std::size_t i = 0; i < length && same; ++i) same = FoldCase(text[i + 1]) == entity.name[i];
        if (same) return &entity;
    }
    return nullptr;
}

const Entity* EntityOf(char16_t c) {
    for (const Entity& entity : kEntities)
        if (entity.character == c) return &entity;
    return nullptr;
}

}  // namespace

// The text between escaped characters goes over in one piece.
void AppendEscaped(KString& out, const KString& text) {
    int start = 0;
    for (int i = 0; i < text.Length(); ++i) {
        const char16_t c = text[i];
        // Every escaped character is below '?'; most text never reaches the table.
        const Entity* entity = c < u'?' ? EntityOf(c) : nullptr;
        if (!entity) continue;
        out.Append(text, start, i - start);
        out.Append(u'&');
        out.Append(entity->name.data(), int(entity->name.size()));
        out.Append(u';');
        start = i + 1;
    }
    out.Append(text, start, text.Length() - start);
}

KString Decode(std::u16string_view text) {
    KString decoded;
    std::size_t start = 0;
    for (std::size_t i = text.find(u'&'); i != std::u16string_view::npos; i = text.find(u'&', i + 1)) {
        const Entity* entity = Match(text.substr(i));
        if (!entity) continue;
        decoded.Append(text.data() + start, int(i - start));
        decoded.Append(entity->character);
        i += entity->name.size() + 1;
        start = i + 1;
    }
    if (start == 0) return KString::FromUTF16(text);
    decoded.Append(text.data() + start, int(text.size() - start));
    return decoded;
}

}  // namespace KXMLEntities
