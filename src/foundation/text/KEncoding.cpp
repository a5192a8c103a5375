#include "foundation/text/KEncoding.h"

namespace KEncoding {

namespace {

class BlockSink final : public ByteSink {
public:
    explicit BlockSink(std::vector<std::uint8_t>& block) : m_block(block) {}
    void Put(std::uint8_t byte) override { m_block.push_back(byte); }
    void Put(const std::uint8_t* bytes, int count) override { m_block.insert(m_block.end(), bytes, bytes + count); }

private:
    std::vector<std::uint8_t>& m_block;
};

bool IsOneOf(const KString& name, const KString& first, const KString& second) noexcept {
    return name.EqualsNoCase(first) || name.EqualsNoCase(second);
}

}  // namespace

std::vector<std::uint8_t> Codec::Encode(const KString& text) const {
    std::vector<std::uint8_t> block;
    block.reserve(std::size_t(text.Length()));
    BlockSink sink(block);
    EncodeTo(text, sink);
    return block;
}

const Codec& ASCII() noexcept {
    static const ASCIICodec codec;
    return codec;
}

const Codec& UTF8() noexcept {
    static const UTF8Codec codec;
    return codec;
}

const Codec& UTF16() noexcept {
    static const UTF16Codec codec;
    return codec;
}

const Codec* FindKnown(const KString& name) noexcept {
    if (name.IsEmpty()) return &ASCII();
    if (IsOneOf(name, "utf8", "utf-8")) return &UTF8();
    if (IsOneOf(name, "utf16", "utf-16")) return &UTF16();
    return TableCodec::Find(name);
}

const Codec& Find(const KString& name) noexcept {
    if (const Codec* known = FindKnown(name)) return *known;
    return *TableCodec::Find("windows-1252");
}

}  // namespace KEncoding
