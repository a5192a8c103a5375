// Tables built by the generator's own thread: the audio thread only swaps
// finished tables in, at the start of a block, and never builds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLItem.h"
#include "signal/generator/SignalGeneratorTesting.h"
#include "support/AllocationCounter.h"

namespace {

using Control = KSignalGenerator::Control;

std::vector<float> TableOf(const KSignalGenerator& g) { return {g.Table(), g.Table() + 8193}; }

// The table a generator on its own builds for the same edit.
std::vector<float> ReferenceTable(double shapePosition, double skew) {
    auto reference = NewGenerator();
    reference->Set(Control::ShapePosition, shapePosition);
    reference->Set(Control::Skew, skew);
    reference->UpdateIfChanged();
    return TableOf(*reference);
}

// Polls with a generous bound; the build itself takes about a millisecond.
bool FinishesWithin(const KSignalGenerator& g, std::chrono::seconds bound) {
    const auto until = std::chrono::steady_clock::now() + bound;
    while (g.IsRebuildPending()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::unique_ptr<KSignalGenerator> BackgroundGenerator() {
    auto g = NewGenerator();
    g->BuildInBackground();
    return g;
}

TEST(KSignalGeneratorBackground, AFinishedTableIsTakenUpOnlyAtTheNextBlock) {
    auto g = BackgroundGenerator();
    const std::vector<float> sine = TableOf(*g);
    g->Set(Control::ShapePosition, 3.5);
    g->Set(Control::Skew, 0.3);
    ASSERT_TRUE(FinishesWithin(*g, std::chrono::seconds(20)));
    EXPECT_EQ(TableOf(*g), sine);  // built, but a block may still be reading the old one
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_EQ(TableOf(*g), ReferenceTable(3.5, 0.3));
    EXPECT_FALSE(g->UpdateIfChanged());
}

TEST(KSignalGeneratorBackground, UpdateOnTheAudioThreadNeitherBuildsNorAllocates) {
    KLock processing;  // outlives the generator's thread
    auto g = BackgroundGenerator();
    g->SetLock(&processing);
    g->Set(Control::Skew, 0.3);
    ASSERT_TRUE(FinishesWithin(*g, std::chrono::seconds(20)));
    const std::size_t before = AllocationCounter::Count();
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_EQ(AllocationCounter::Count(), before);

    // While a block holds the lock the builder cannot even copy the settings;
    // an edit made in the block (host automation) stays unbuilt, and the
    // update at the next block's start does not build it either.
    const std::vector<float> skewed = TableOf(*g);
    KScopedLock block(processing);
    g->Set(Control::ShapePosition, 9);
    EXPECT_FALSE(g->UpdateIfChanged());
    EXPECT_TRUE(g->IsRebuildPending());
    EXPECT_EQ(TableOf(*g), skewed);
}

// A host call holding the processing lock may itself rebuild (a
// randomisation) while the builder thread wants the lock for an edit.
TEST(KSignalGeneratorBackground, ARebuildUnderTheLockDoesNotWaitForTheBuilderThread) {
    KLock processing;  // outlives the generator's thread
    auto g = BackgroundGenerator();
    g->SetLock(&processing);
    KScopedLock hostCall(processing);
    for (int k = 0; k < 20; ++k) {
        g->Set(Control::ShapePosition, k * 0.5);  // the builder wakes and finds the lock taken
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        g->Rebuild();
    }
    EXPECT_FALSE(g->IsRebuildPending());
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_EQ(TableOf(*g), ReferenceTable(19 * 0.5, 0));
}

// Several builds between two blocks: the newest table is taken up, and the
// change is reported once, so the owner fades once.
TEST(KSignalGeneratorBackground, BuildsBetweenTwoBlocksReportOneChange) {
    auto g = BackgroundGenerator();
    for (const double position : {2.0, 4.0, 6.5}) {
        g->Set(Control::ShapePosition, position);
        g->Rebuild();  // the calling thread builds too, one builder at a time
    }
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_EQ(TableOf(*g), ReferenceTable(6.5, 0));
    EXPECT_FALSE(g->UpdateIfChanged());
}

// Loading, randomising and resetting build on the calling thread and hand
// the table over like an edit: taken up at the next block, reported once.
TEST(KSignalGeneratorBackground, LoadRandomizeAndResetAreEachReportedOnceAtTheNextBlock) {
    auto g = BackgroundGenerator();
    EXPECT_FALSE(g->UpdateIfChanged());  // the first table replaces nothing
    const std::vector<float> sine = TableOf(*g);

    KXMLItem shape("Shape0");
    shape.SetAttribute("value", "3.5");
    KStorageContext loading(shape, false);
    g->Store(loading);
    EXPECT_EQ(TableOf(*g), sine);
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_EQ(TableOf(*g), ReferenceTable(3.5, 0));
    EXPECT_FALSE(g->UpdateIfChanged());

    g->Randomize(1.0);
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->UpdateIfChanged());

    g->Reset();
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->UpdateIfChanged());
}

// An editing thread and an audio thread at once (run under ThreadSanitizer
// too): every block sees one whole table, and the last edit wins.
TEST(KSignalGeneratorBackground, EditsWhileBlocksRunEndWithTheLastEdit) {
    KLock processing;  // outlives the generator's thread
    auto g = BackgroundGenerator();
    g->SetLock(&processing);
    std::atomic<bool> editing{true};
    std::thread editor([&] {
        for (int k = 0; k <= 100; ++k) g->Set(Control::ShapePosition, k * 0.14);  // ends at 100 * 0.14
        editing = false;
    });
    int blocks = 0;
    while (editing || blocks < 10) {
        KScopedLock block(processing);
        g->UpdateIfChanged();
        const float* table = g->Table();
        ASSERT_EQ(table[8192], table[0]);  // a complete table, not one half built
        ++blocks;
    }
    editor.join();
    g->Rebuild();
    {
        KScopedLock block(processing);
        g->UpdateIfChanged();
    }
    EXPECT_EQ(TableOf(*g), ReferenceTable(100 * 0.14, 0));
}

}  // namespace
