#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/core/Allocator.h"
#include "foundation/core/Diagnostics.h"
#include "foundation/core/Guard.h"
#include "foundation/core/Random.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

std::vector<std::string>& Reports() {
    static std::vector<std::string> reports;
    return reports;
}

struct GuardTest : ::testing::Test {
    void SetUp() override {
        Reports().clear();
        KDiagnostics::SetListener([](const KString& text) { Reports().push_back(text.ToUTF8()); });
    }
    void TearDown() override { KDiagnostics::SetListener(nullptr); }
};

TEST_F(GuardTest, FrameworkExceptionIsDroppedSilently) {
    const double result = KGuard::Run("KAudioPluginVSTAdapter::getParameter", 0.0,
                                      []() -> double { throw KException("Index out of range."); });
    EXPECT_EQ(result, 0.0);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(GuardTest, AnyOtherFailureIsReportedWithTheGuardName) {
    const double result = KGuard::Run("KAudioPluginVSTAdapter::getParameter", 0.0,
                                      []() -> double { throw std::runtime_error("boom"); });
    EXPECT_EQ(result, 0.0);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], "SYSTEM EXCEPTION! KAudioPluginVSTAdapter::getParameter");

    KGuard::Run("KThreadProc", [] { throw 42; });
    ASSERT_EQ(Reports().size(), 2u);
    EXPECT_EQ(Reports()[1], "SYSTEM EXCEPTION! KThreadProc");
}

TEST_F(GuardTest, TheBodysResultPassesThroughWithoutFailure) {
    EXPECT_EQ(KGuard::Run("f", -1, [] { return 7; }), 7);
    EXPECT_TRUE(Reports().empty());
}

// The calling thread's last system error: the Windows error code there,
// errno elsewhere.
void SetUndescribedSystemError() {
#if defined(_WIN32)
    SetLastError(0x2000ABCD);  // bit 29: an application's own code, which the system has no text for
#else
    errno = 0;
#endif
}

void SetFileNotFoundError() {
#if defined(_WIN32)
    SetLastError(ERROR_FILE_NOT_FOUND);
#else
    errno = ENOENT;
#endif
}

TEST(SystemError, AppendsTheDescriptionOrTheFallbackText) {
    SetUndescribedSystemError();
    EXPECT_EQ(KDiagnostics::WithSystemError("Could not open.").ToUTF8(),
              "Could not open. No error description available.");
    SetFileNotFoundError();
    const std::string described = KDiagnostics::WithSystemError("Could not open.").ToUTF8();
    EXPECT_EQ(described.rfind("Could not open. ", 0), 0u);
    EXPECT_GT(described.size(), std::string("Could not open. ").size());
    EXPECT_EQ(described.find_first_of("\r\n"), std::string::npos);  // one line, even where the system ends its texts with a break
}

KException CaughtFrom(void (*action)()) {
    try {
        action();
    } catch (const KException& e) {
        return e;
    }
    return KException("nothing raised");
}

TEST(Allocator, RaisesItsMessagesAndFollowsTheReallocateRules) {
    EXPECT_EQ(CaughtFrom([] { KAllocator::Release(nullptr); }).Message().ToUTF8(), "NULL cannot be released.");
    EXPECT_EQ(CaughtFrom([] { KAllocator::Allocate(std::size_t(-1) / 2); }).Message().ToUTF8(), "Out of memory.");
    void* block = KAllocator::Reallocate(nullptr, 16);  // a null block allocates
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(KAllocator::Reallocate(block, 0), nullptr);  // size 0 releases
}

int gAllocations = 0;
void* CountingAllocate(std::size_t size) {
    ++gAllocations;
    return KAllocator::Default().allocate(size);
}

TEST(Allocator, AReplacedTableServesTheLibrarysStrings) {
    KAllocator::Table table = KAllocator::Default();
    table.allocate = CountingAllocate;
    KAllocator::Replace(table);
    KString text("abc");
    text.Append(u'd');  // a literal becomes a heap block when changed
    KAllocator::Replace(KAllocator::Default());
    EXPECT_EQ(gAllocations, 1);
}

TEST(SharedRandom, DrawsAreBits16To30OfTheLinearCongruentialState) {
    KRandom::Seed(1);
    // state = 1 * 214013 + 2531011 = 2745024; (2745024 >> 16) & 0x7FFF = 41
    EXPECT_EQ(KRandom::Next(), 41);
    EXPECT_EQ(KRandom::State(), 2745024u);
    // state = 2745024 * 214013 + 2531011 mod 2^32 = 1210316419; >> 16 & 0x7FFF = 18467
    EXPECT_EQ(KRandom::Next(), 18467);
}

}  // namespace
