#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/KException.h"
#include "foundation/KStdFileStream.h"

namespace {

KString TempPath(const char* name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    std::string path = std::string(root && *root ? root : "/tmp") + "/file-stream/" + name;
    return KString::FromUTF8(path);
}

std::string MessageOf(auto&& action) {
    try {
        action();
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}

TEST(KStdFileStream, CreatesFoldersWritesAndReadsBack) {
    const KString path = TempPath("nested/deeper/data.bin");
    {
        KStdFileStream file;
        file.Open(path, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
        file.WriteLine("first");
        file.Write("second", 6);
        EXPECT_EQ(file.Position(), 12);
        EXPECT_EQ(file.Size(), 12);
    }
    KStdFileStream file;
    file.Open(path, KStdFileStream::OpenRead);
    EXPECT_EQ(file.Size(), 12);
    EXPECT_EQ(file.ReadRequiredLine().ToUTF8(), "first");
    EXPECT_FALSE(file.AtEnd());
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, 16), 6);
    EXPECT_TRUE(file.AtEnd());
    file.Seek(-3, KStream::SeekOrigin::End);
    EXPECT_EQ(file.Read(buffer, 16), 3);
    EXPECT_EQ(std::string(buffer, 3), "ond");
}

TEST(KStdFileStream, UpdateModeKeepsAndTruncates) {
    const KString path = TempPath("update.bin");
    KStdFileStream file;
    file.Open(path, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
    file.Write("0123456789", 10);
    file.Close();
    file.Open(path, KStdFileStream::OpenWrite);
    EXPECT_EQ(file.Size(), 10);
    file.Seek(2, KStream::SeekOrigin::Start);
    file.Write("ab", 2);
    file.Truncate(6);
    file.Flush();
    EXPECT_EQ(file.Size(), 6);
    file.Seek(0, KStream::SeekOrigin::Start);
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, 16), 6);
    EXPECT_EQ(std::string(buffer, 6), "01ab45");
}

TEST(KStdFileStream, FailuresNameThePath) {
    KStdFileStream file;
    const KString missing = TempPath("missing/none.bin");
    EXPECT_EQ(MessageOf([&] { file.Open(missing, KStdFileStream::OpenRead); }),
              "File \"" + missing.ToUTF8() + "\" could not be open. Make sure it exists.");
    EXPECT_FALSE(file.IsValid());

    // A folder cannot be created or emptied as a file.
    const KString folder = TempPath("");
    EXPECT_EQ(MessageOf([&] { file.Open(folder, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate); }),
              "File \"" + folder.ToUTF8() +
                  "\" could not be created. Make sure there is no write-protected file already existing.");
}

TEST(KStdFileStream, ClosedStreamRefusesEveryOperation) {
    KStdFileStream file;
    char byte = 0;
    const std::string expected = "File stream is not initialized.";
    EXPECT_EQ(MessageOf([&] { file.Read(&byte, 1); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Write(&byte, 1); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Seek(0, KStream::SeekOrigin::Start); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Position(); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Flush(); }), expected);
    EXPECT_EQ(MessageOf([&] { file.AtEnd(); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Truncate(0); }), expected);
    EXPECT_EQ(MessageOf([&] { file.Size(); }), expected);
}

TEST(KStdFileStream, WritingAReadOnlyFileFails) {
    const KString path = TempPath("readonly.bin");
    KStdFileStream file;
    file.Open(path, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
    file.Close();
    file.Open(path, KStdFileStream::OpenRead);
    EXPECT_EQ(MessageOf([&] { file.Write("abc", 3); }),
              "Error writing to file \"" + path.ToUTF8() + "\". Probably disk full.");
}

}  // namespace
