#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/streams/KStdFileStream.h"
#include "support/FailureMessage.h"

namespace {

KString TempPath(const char* name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    return KString::FromUTF8(std::string(root && *root ? root : "/tmp") + "/file-stream/" + name);
}

TEST(KStdFileStream, CreatesFoldersWritesAndReadsBack) {
    const KString path = TempPath("nested/deeper/data.bin");
    {
        KStdFileStream file;
        file.Open(path, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
        file.WriteLine("first");
        file.Write("second", 6);
        EXPECT_EQ(file.Position(), 12);
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
    EXPECT_EQ(FailureMessage([&] { file.Write("x", 1); }),
              "Error writing to file \"" + path.ToUTF8() + "\". Probably disk full.");
}

TEST(KStdFileStream, UpdateModeKeepsAndTruncates) {
    const KString path = TempPath("update.bin");
    KStdFileStream file;
    file.Open(path, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate);
    file.Write("0123456789", 10);
    file.Open(path, KStdFileStream::OpenWrite);
    file.Seek(2, KStream::SeekOrigin::Start);
    file.Write("ab", 2);
    file.Truncate(6);
    EXPECT_EQ(file.Size(), 6);
    file.Seek(0, KStream::SeekOrigin::Start);
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, 16), 6);
    EXPECT_EQ(std::string(buffer, 6), "01ab45");
}

TEST(KStdFileStream, FailuresNameThePathAndLeaveTheStreamClosed) {
    KStdFileStream file;
    const KString missing = TempPath("missing/none.bin");
    EXPECT_EQ(FailureMessage([&] { file.Open(missing, KStdFileStream::OpenRead); }),
              "File \"" + missing.ToUTF8() + "\" could not be open. Make sure it exists.");
    EXPECT_FALSE(file.IsValid());

    const KString folder = TempPath("");  // a folder cannot be opened as a file
    EXPECT_EQ(FailureMessage([&] { file.Open(folder, KStdFileStream::OpenWrite | KStdFileStream::OpenCreate); }),
              "File \"" + folder.ToUTF8() +
                  "\" could not be created. Make sure there is no write-protected file already existing.");

    char byte = 0;
    for (const std::string& message :
         {FailureMessage([&] { file.Read(&byte, 1); }), FailureMessage([&] { file.Write(&byte, 1); }),
          FailureMessage([&] { file.Seek(0, KStream::SeekOrigin::Start); }), FailureMessage([&] { file.Position(); }),
          FailureMessage([&] { file.Flush(); }), FailureMessage([&] { file.AtEnd(); }),
          FailureMessage([&] { file.Truncate(0); }), FailureMessage([&] { file.Size(); })}) {
        EXPECT_EQ(message, "File stream is not initialized.");
    }
}

}  // namespace
