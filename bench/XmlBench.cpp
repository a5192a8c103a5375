#include <benchmark/benchmark.h>

#include <cstdint>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"

namespace {

// A settings-like document of about 1 MB in its indented form: sections of
// items with numeric attributes, some with hexadecimal bank text.
void FillSettings(KXMLItem& root) {
    root.SetIntegerAttribute("Version", 461312);
    std::uint32_t state = 1;
    auto draw = [&state] {
        state = state * 214013 + 2531011;
        return (state >> 16) & 0x7FFF;
    };
    for (int section = 0; section < 75; ++section) {
        KXMLItem& group = root.AddSubItem(KString::Printf("Section%d", section));
        for (int i = 0; i < 100; ++i) {
            KXMLItem& item = group.AddSubItem("Parameter");
            item.SetAttribute("ParameterName", KString::Printf("Oscillator %d depth", i));
            item.SetDoubleAttribute("Value", draw() / 32767.0);
            item.SetDoubleAttribute("MaxValue", draw() / 32767.0);
            item.SetIntegerAttribute("Channel", draw() % 16);
            item.SetBoolAttribute("Invert", draw() % 2 != 0);
            if (i % 4 == 0) {
                std::uint8_t bank[32];
                for (std::uint8_t& byte : bank) byte = std::uint8_t(draw());
                item.SetHexadecimalText(bank, sizeof bank);
            }
        }
    }
}

const KXMLDocument& Settings() {
    static const KXMLDocument* document = [] {
        auto* made = new KXMLDocument("settings");
        FillSettings(made->Root());
        return made;
    }();
    return *document;
}

// Uncompressed bytes of the document in the given layout.
std::int64_t PlainSize(bool compact) {
    KMemoryStream stream;
    Settings().Write(stream, compact);
    return stream.Size();
}

void BM_XmlWrite(benchmark::State& state) {
    const bool compact = state.range(0) != 0;
    for (auto _ : state) {
        KMemoryStream stream;
        Settings().Write(stream, compact);
        benchmark::DoNotOptimize(stream.Data());
    }
    state.SetBytesProcessed(state.iterations() * PlainSize(compact));
    state.counters["document_bytes"] = double(PlainSize(compact));
    state.SetLabel(compact ? "compact" : "indented");
}
BENCHMARK(BM_XmlWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Parses the text as often as the benchmark asks; rates count its bytes.
void ParseRepeatedly(benchmark::State& state, KMemoryStream& text) {
    for (auto _ : state) {
        KMemoryStream input(text.Data(), int(text.Size()));
        KXMLDocument document;
        document.Parse(input);
        benchmark::DoNotOptimize(document.Root().SubItemCount());
    }
    state.SetBytesProcessed(state.iterations() * text.Size());
}

void BM_XmlParse(benchmark::State& state) {
    const bool compact = state.range(0) != 0;
    KMemoryStream text;
    Settings().Write(text, compact);
    ParseRepeatedly(state, text);
    state.SetLabel(compact ? "compact" : "indented");
}
BENCHMARK(BM_XmlParse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A preset library: 200 presets, each a bank of 2 KB written as 4 KB of
// hexadecimal text, so nearly every byte is character data.
void BM_XmlParseLibrary(benchmark::State& state) {
    KXMLDocument library("Directory");
    std::uint8_t bank[2048];
    for (int preset = 0; preset < 200; ++preset) {
        for (std::size_t i = 0; i < sizeof bank; ++i) bank[i] = std::uint8_t(i * 7 + std::size_t(preset));
        KXMLItem& item = library.Root().AddSubItem("preset");
        item.SetAttribute("name", KString::Printf("Preset %d", preset));
        item.SetHexadecimalText(bank, sizeof bank);
    }
    KMemoryStream text;
    library.Write(text, false);
    ParseRepeatedly(state, text);
}
BENCHMARK(BM_XmlParseLibrary)->Unit(benchmark::kMillisecond);

// Rates count the uncompressed bytes, as for the plain forms.
void BM_XmlWriteCompressed(benchmark::State& state) {
    std::int64_t packed = 0;
    for (auto _ : state) {
        KMemoryStream stream;
        Settings().WriteCompressed(stream);
        packed = stream.Size();
    }
    state.SetBytesProcessed(state.iterations() * PlainSize(true));
    state.counters["compressed_bytes"] = double(packed);
}
BENCHMARK(BM_XmlWriteCompressed)->Unit(benchmark::kMillisecond);

void BM_XmlParseCompressedOrPlain(benchmark::State& state) {
    KMemoryStream packed;
    Settings().WriteCompressed(packed);
    for (auto _ : state) {
        KMemoryStream input(packed.Data(), int(packed.Size()));
        KXMLDocument document;
        document.ParseCompressedOrPlain(input);
        benchmark::DoNotOptimize(document.Root().SubItemCount());
    }
    state.SetBytesProcessed(state.iterations() * PlainSize(true));
}
BENCHMARK(BM_XmlParseCompressedOrPlain)->Unit(benchmark::kMillisecond);

}  // namespace
