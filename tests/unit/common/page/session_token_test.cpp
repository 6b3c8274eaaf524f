// session_token_test.cpp: which input elements yield the session token, and how it is kept.
#include "common/page/session_token.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/library_testing.h"
#include "common/page/markup_scanner.h"

namespace lumora {
namespace {

class SessionTokenTest : public ::testing::Test {
  protected:
    // A new page: flags cleared, the token of an earlier page still in place.
    void SetUp() override {
        library_testing::SetSessionToken("earlier");
        library_testing::SetTokenTaken(0);
        library_testing::SetPageHadToken(0);
    }

    // Captures from `entries`, turned into the scanner's null-terminated list.
    static void Capture(const std::vector<const char*>& entries) {
        std::vector<const char*> list = entries;
        list.push_back(nullptr);
        CaptureSessionToken(list.data());
    }
};

TEST_F(SessionTokenTest, TakesTheTokenOnlyFromTheExactHiddenSessionField) {
    struct Case {
        const char* what;
        std::vector<const char*> entries;
        bool taken;
        const char* token;  // the token afterwards
    };
    const char* const kForty = "0123456789abcdef0123456789ABCDEF01234567";
    const std::vector<Case> cases = {
        {"exact field",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", "f00d"},
         true,
         "f00d"},
        {"more attributes after the value",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", "f00d", "x", "y"},
         true,
         "f00d"},
        {"40 characters keep the first 32",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", kForty},
         true,
         "0123456789abcdef0123456789ABCDEF"},
        {"empty value counts as delivered",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", ""},
         true,
         ""},
        {"another order",
         {"name", "SESSION_ID", "id", "SESSION_ID", "type", "hidden", "value", "f00d"},
         false,
         "earlier"},
        {"case differs",
         {"type", "Hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", "f00d"},
         false,
         "earlier"},
        {"value attribute named otherwise",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "values", "f00d"},
         false,
         "earlier"},
        {"list ends before the value",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID"},
         false,
         "earlier"},
        {"list ends after the value name",
         {"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value"},
         false,
         "earlier"},
        {"other input", {"type", "text", "name", "q"}, false, "earlier"},
        {"empty list", {}, false, "earlier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Capture(c.entries);
        EXPECT_EQ(library_testing::TokenTaken(), c.taken ? 1 : 0);
        EXPECT_EQ(library_testing::PageHadToken(), c.taken ? 1 : 0);
        EXPECT_STREQ(library_testing::SessionToken(), c.token);
    }
}

TEST_F(SessionTokenTest, ANewTokenClearsTheWholeBufferAndTheFirstOfAPageWins) {
    library_testing::SetSessionToken(std::string(kSessionTokenLength, 'z').c_str());
    Capture({"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", "ab"});
    EXPECT_STREQ(library_testing::SessionToken(), "ab");
    const std::span<const char> bytes = library_testing::SessionTokenBytes();
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], '\0') << "byte " << i;
    }

    Capture({"type", "hidden", "id", "SESSION_ID", "name", "SESSION_ID", "value", "second"});
    EXPECT_STREQ(library_testing::SessionToken(), "ab");

    CaptureSessionToken(nullptr);
    EXPECT_STREQ(library_testing::SessionToken(), "ab");
}

// Hands "input" start tags to the capture, as the status page handlers do.
class InputHandlers : public MarkupHandlers {
  public:
    void StartElement(const char* name, const char* const* attributes) override {
        if (std::strcmp(name, "input") == 0) {
            CaptureSessionToken(attributes);
        }
    }
    void EndElement(const char*) override {}
    void Text(const char*, int) override {}
};

TEST_F(SessionTokenTest, TakesTheTokenFromAScannedPage) {
    InputHandlers handlers;
    MarkupScanner scanner;
    scanner.Reset(handlers);
    std::string line =
        "<form><input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"c0ffee42\">"
        "<input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"later\"></form>\n";
    ASSERT_EQ(scanner.ScanChunk(line.data(), static_cast<int>(line.size())), kScanOk);
    EXPECT_STREQ(library_testing::SessionToken(), "c0ffee42");
    EXPECT_EQ(library_testing::PageHadToken(), 1);

    // The next page lacks the field: nothing delivered, the earlier token stays for commands.
    library_testing::SetTokenTaken(0);
    library_testing::SetPageHadToken(0);
    scanner.Reset(handlers);
    std::string other =
        "<input name=\"SESSION_ID\" id=\"SESSION_ID\" type=\"hidden\" value=\"x\">\n";
    ASSERT_EQ(scanner.ScanChunk(other.data(), static_cast<int>(other.size())), kScanOk);
    EXPECT_EQ(library_testing::PageHadToken(), 0);
    EXPECT_STREQ(library_testing::SessionToken(), "c0ffee42");
}

}  // namespace
}  // namespace lumora
