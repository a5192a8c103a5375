#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "foundation/core/Random.h"
#include "foundation/xml/KXMLDocument.h"
#include "presets/library/PresetTestSupport.h"
#include "presets/library/KPresetRandomizer.h"
#include "presets/library/KPresetTree.h"
#include "support/FailureMessage.h"

namespace {

TEST(PresetLibrary, FlatOrderAndWrappingSteps) {
    PresetFixture f("flat");
    f.manager.NewFolder("", "Folder");
    f.Save("P3", 3, "Folder");
    f.Save("P1", 1);
    f.Save("P2", 2);
    // Root presets first, then the folder's.
    const auto list = f.manager.List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name.ToUTF8(), "P1");
    EXPECT_EQ(list[1].name.ToUTF8(), "P2");
    EXPECT_EQ(list[2].name.ToUTF8(), "P3");
    EXPECT_EQ(list[2].folder.ToUTF8(), "Folder");

    f.manager.Load(2);
    f.manager.Step(+1);  // next from P3: P1
    EXPECT_EQ(f.owner.name.ToUTF8(), "P1");
    EXPECT_EQ(f.manager.CurrentIndex(), 0);
    f.manager.Step(-1);  // previous from P1: P3
    EXPECT_EQ(f.owner.name.ToUTF8(), "P3");
    EXPECT_EQ(f.owner.level, 3);
    EXPECT_EQ(f.manager.Find("Folder/P3"), 2);
    EXPECT_EQ(f.manager.Find("p2"), 1);
    EXPECT_EQ(f.manager.Find("0"), 0);
    EXPECT_EQ(FailureMessage([&] { f.manager.Find("nothing"); }), "There is no preset \"nothing\".");
}

TEST(PresetLibrary, OldUncompressedPresetsAreRewrittenCompressed) {
    PresetFixture f("old-form");
    std::ofstream(f.file()) << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                               "<Testpresets><preset name=\"Old\" Name=\"old settings\" Level=\"7\"/></Testpresets>\n";
    f.manager.Load(0);  // the older form loads as it is
    EXPECT_EQ(f.owner.level, 7);
    EXPECT_EQ(f.owner.name.ToUTF8(), "old settings");  // "name" and "Name" are one attribute

    f.Save("New", 1);  // any save converts every preset
    KXMLDocument document;
    KPresetFile(PathText(f.file())).Read(document);
    const KXMLItem& old = document.Root().SubItemAt(0);
    EXPECT_EQ(old.Attribute("compressed", "").ToUTF8(), "1");
    EXPECT_EQ(old.SubItemCount(), 0);
    EXPECT_NE(old.Text().ToUTF8().find_first_not_of("0123456789ABCDEF"), 0u);
    f.owner.level = 0;
    f.manager.Load(0);  // the compressed form loads the same settings
    EXPECT_EQ(f.owner.level, 7);
}

TEST(PresetLibrary, ADamagedPresetChangesNothing) {
    PresetFixture f("damaged");
    std::ofstream(f.file()) << "<Testpresets><preset name=\"BadHex\" compressed=\"1\">78DAZZ</preset>"
                               "<preset name=\"BadZlib\" compressed=\"1\">78DA0102030405060708</preset></Testpresets>";
    f.owner.level = 5;
    EXPECT_EQ(FailureMessage([&] { f.manager.Load(0); }), "Invalid character to be converted to a number.");
    // Sound digits, but no zlib data behind them: the zlib message, not the
    // plain reading's complaint about binary bytes.
    EXPECT_EQ(FailureMessage([&] { f.manager.Load(1); }), "Source compressed stream has invalid content.");
    EXPECT_EQ(f.owner.level, 5);
    EXPECT_EQ(f.owner.loads, 0);
}

// The last bytes of a write reach the disk only when the file is flushed;
// a disk that is full by then must leave the library as it was.
TEST(PresetLibrary, AWriteThatFailsAtTheEndLeavesTheLibraryAsItWas) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    PresetFixture f("disk-full");
    f.Save("Kept", 1);
    const std::string before = ReadText(f.file());
    // The temporary file beside the library leads to a device that is
    // always full; the document is small enough to sit in the write buffer.
    const std::filesystem::path temporary = f.file().string() + ".tmp";
    std::filesystem::create_symlink("/dev/full", temporary);

    EXPECT_EQ(FailureMessage([&] { f.Save("Lost", 2); }),
              "Error writing to file \"" + temporary.string() + "\". Probably disk full.");
    ASSERT_FALSE(std::filesystem::is_symlink(f.file()));
    EXPECT_EQ(ReadText(f.file()), before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temporary)));
    ASSERT_EQ(f.manager.List().size(), 1u);
}

TEST(PresetLibrary, AnUnreadableFileIsKeptAsideNotOverwritten) {
    PresetFixture f("truncated");
    f.Save("First", 1);
    const std::string whole = ReadText(f.file());
    std::ofstream(f.file()) << whole.substr(0, whole.size() / 3);  // cut inside the document
    EXPECT_TRUE(f.manager.List().empty());
    f.Save("Second", 2);
    EXPECT_EQ(ReadText(f.folder / "Testpresets.xml.broken"), whole.substr(0, whole.size() / 3));
    ASSERT_EQ(f.manager.List().size(), 1u);
    EXPECT_EQ(f.manager.List()[0].name.ToUTF8(), "Second");
}

TEST(PresetLibrary, NamesWithUnitsUtf8CannotCarryReadAndSaveAsTheyWillBeStored) {
    // A UTF-16 file may hold a lone high surrogate right before the quote
    // that closes a name (the UTF-8 writer would drop the quote with it),
    // U+FEFF (which a UTF-8 reader drops) and a low surrogate pair that
    // damaged UTF-8 decodes to. The library shows each name as it will
    // store it, and after a save the file still reads whole.
    PresetFixture f("unwritable-units");
    const std::u16string text = u"\xFEFF<Testpresets><preset name=\"A\xD800\" Level=\"1\"/>"
                                u"<preset name=\"B\xFEFF\" Level=\"2\"/><preset name=\"C\xDC93\xDD34\" Level=\"3\"/>"
                                u"</Testpresets>";
    std::ofstream(f.file(), std::ios::binary)
        .write(reinterpret_cast<const char*>(text.data()), std::streamsize(text.size() * sizeof(char16_t)));
    // Joined as units: converting to UTF-8 would itself drop them.
    auto names = [&] {
        KString joined;
        for (const auto& entry : f.manager.List()) joined.Append(entry.name).Append(u',');
        return joined;
    };
    EXPECT_TRUE(names() == "A,B,C,");
    f.Save("New", 4);
    EXPECT_TRUE(names() == "A,B,C,New,");
    f.manager.Load(0);
    EXPECT_EQ(f.owner.level, 1);
}

TEST(PresetLibrary, FoldersExportImportAndDelete) {
    PresetFixture f("folders");
    f.manager.NewFolder("", "Bass");
    f.manager.NewFolder("Bass", "Deep");
    f.Save("Sub", 4, "Bass/Deep");
    const std::filesystem::path exported = f.folder / "bass.kpresets";
    f.manager.ExportFolder("Bass", PathText(exported));
    f.manager.DeleteFolder("Bass");
    EXPECT_TRUE(f.manager.List().empty());

    f.manager.NewFolder("", "Imported");
    f.Save("Replaced", 9, "Imported");
    f.manager.ImportFolder(PathText(exported), "Imported");
    const auto list = f.manager.List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].folder.ToUTF8(), "Imported/Deep");
    f.manager.Load(0);
    EXPECT_EQ(f.owner.level, 4);
    EXPECT_EQ(FailureMessage([&] { f.manager.NewFolder("Nowhere", "x"); }), "There is no preset folder \"Nowhere\".");
}

TEST(PresetLibrary, RenamingKeepsSettingsAndPlace) {
    PresetFixture f("rename");
    f.manager.NewFolder("", "Bass");
    f.Save("Sub", 4, "Bass");
    f.Save("Top", 2);
    f.manager.Rename(1, "Deep sub");
    f.manager.RenameFolder("Bass", "Low");
    const auto list = f.manager.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].folder.ToUTF8(), "Low");
    EXPECT_EQ(list[1].name.ToUTF8(), "Deep sub");
    f.manager.Load(f.manager.Find("Low/Deep sub"));
    EXPECT_EQ(f.owner.level, 4);
    EXPECT_EQ(FailureMessage([&] { f.manager.Rename(0, " "); }), "A preset needs a name.");
    EXPECT_EQ(FailureMessage([&] { f.manager.RenameFolder("Low", "a/b"); }), "A folder needs a name without \"/\".");
    EXPECT_EQ(FailureMessage([&] { f.manager.RenameFolder("Bass", "x"); }), "There is no preset folder \"Bass\".");
    EXPECT_EQ(f.manager.List()[0].name.ToUTF8(), "Top");
}

TEST(PresetLibrary, AnOlderFileOneLevelUpIsMergedAndDeleted) {
    const std::filesystem::path folder = TestFolder("merge");
    std::filesystem::create_directories(folder / "Quenlor");
    {
        TestOwner owner;
        KPresetManagerT<TestOwner> older(owner, "Test");
        older.SetFilePath(PathText(folder / "Testpresets.xml"));
        owner.level = 6;
        older.StoreNew("Kept", "");
    }
    TestOwner owner;
    KPresetManagerT<TestOwner> manager(owner, "Test");
    manager.SetDataFolder(PathText(folder / "Quenlor"));
    ASSERT_EQ(manager.List().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder / "Testpresets.xml"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Quenlor" / "Testpresets.xml"));
}

TEST(PresetLibrary, ExchangeMergesByNameAndMarks) {
    PresetFixture f("exchange");
    f.Save("Mine", 1);
    KXMLItem received("Testpresets");
    received.AddSubItem("preset").SetAttribute("name", "mine");  // known, case aside
    received.AddSubItem("preset").SetAttribute("name", "Theirs");
    KXMLItem& folder = received.AddSubItem("Directory");
    folder.SetAttribute("Name", "Shared");
    folder.AddSubItem("preset").SetAttribute("name", "Deep");
    EXPECT_EQ(f.manager.AddExchangedPresets(received, 12), 2);
    EXPECT_EQ(f.manager.List().size(), 3u);
    EXPECT_EQ(f.manager.MarkForExchange(13, false), 1);  // only "Mine" had no mark
    EXPECT_EQ(f.manager.MarkForExchange(14, true), 3);
}

TEST(PresetLibrary, RandomSettingsCrossPresets) {
    PresetFixture f("random");
    EXPECT_FALSE(f.manager.LoadRandomSettings());
    f.Save("Only", 3);
    f.owner.level = 0;
    EXPECT_TRUE(f.manager.LoadRandomSettings());  // one preset: its settings
    EXPECT_EQ(f.owner.level, 3);

    // Crossing takes every value from one of the two sources.
    KRandom::Seed(1234);
    KXMLItem base("preset"), other("preset");
    base.SetAttribute("A", "base");
    other.SetAttribute("A", "other");
    other.SetAttribute("B", "other");
    base.AddSubItem("S").SetAttribute("x", "1");
    other.AddSubItem("S").SetAttribute("x", "2");
    KPresetRandomizer::CrossInto(base, other);
    const std::string a = base.Attribute("A", "").ToUTF8();
    EXPECT_TRUE(a == "base" || a == "other");
    const std::string x = base.SubItemAt(0).Attribute("x", "").ToUTF8();
    EXPECT_TRUE(x == "1" || x == "2");
}

TEST(PresetLibrary, TwoProcessesSavingAtOnceLoseNothing) {
    PresetFixture f("processes");
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            TestOwner owner;
            KPresetManagerT<TestOwner> manager(owner, "Test");
            manager.SetFilePath(PathText(f.file()));
            for (int i = 0; i < 100; ++i) manager.StoreNew(KString::FromUTF8("p" + std::to_string(c) + "-" + std::to_string(i)), "");
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(f.manager.List().size(), 200u);
}

}  // namespace
