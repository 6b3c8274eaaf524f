// Request framing and field decoding: what real clients send must be read as they meant it.
#include "sim/http_message.h"

#include <gtest/gtest.h>

namespace quirn::sim {
namespace {

TEST(RequestFraming, BodyIsReadByContentLengthWhateverFollows) {
    const std::string command =
        "POST /index.cgi/info_btn_reboot HTTP/1.1\r\nHOST: quirn.home.arpa\r\nConnection: "
        "keep-alive\r\nAuthorization: Basic YWRtaW46cHc=\r\nContent-Type: "
        "application/x-www-form-urlencoded\r\nContent-Length: 52\r\n\r\n"
        "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=ab\r\n\r\n";
    size_t header = command.find("\r\n\r\n") + 4;
    EXPECT_EQ(RequestLength(command), header + 52);
    EXPECT_EQ(RequestLength(command.substr(0, header + 51)), std::nullopt);
    auto request = ParseRequest(command);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->method, "POST");
    EXPECT_EQ(request->path, "/index.cgi/info_btn_reboot");
    EXPECT_EQ(request->body, "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=ab");
    EXPECT_EQ(request->Header("host"), "quirn.home.arpa");
    auto credentials = BasicCredentials(*request);
    ASSERT_TRUE(credentials);
    EXPECT_EQ(credentials->first, "admin");
    EXPECT_EQ(credentials->second, "pw");
}

TEST(RequestFraming, LengthBeforeTypeAndGetWithoutBody) {
    auto post = ParseRequest(
        "POST /index.cgi/wizard_password_set HTTP/1.1\r\nContent-Length: 3\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\n\r\na=b");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->body, "a=b");
    auto get = ParseRequest("GET /?x=1 HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->path, "/");
    EXPECT_EQ(get->body, "");
}

TEST(RequestFraming, NonRequestsAreRefused) {
    EXPECT_EQ(RequestLength("GET / HTTP/1.0\r\n"), std::nullopt);  // header not finished
    EXPECT_EQ(RequestLength("POST / HTTP/1.1\r\nContent-Length: x\r\n\r\n"), 0u);
    EXPECT_FALSE(ParseRequest("hello\r\n\r\n"));
    EXPECT_FALSE(ParseRequest("GET /\r\n\r\n"));
}

TEST(FormFields, PercentAndPlusAreDecoded) {
    auto fields = DecodeForm("INIT_PASSWD=a%26b%3Dc+d%25&EMPTY=&BARE&BAD=%zz&INIT_PASSWD=second");
    EXPECT_EQ(fields["INIT_PASSWD"], "a&b=c d%");  // the first occurrence counts
    EXPECT_EQ(fields["EMPTY"], "");
    EXPECT_EQ(fields["BARE"], "");
    EXPECT_EQ(fields["BAD"], "%zz");
}

TEST(Credentials, PasswordMayHoldColonsAndBadEncodingIsRefused) {
    auto with_colon = ParseRequest("GET / HTTP/1.0\r\nAuthorization: Basic YWRtaW46YTpi\r\n\r\n");
    ASSERT_TRUE(with_colon);
    EXPECT_EQ(BasicCredentials(*with_colon)->second, "a:b");
    for (const char* header : {"Basic !!!!", "Digest YWRtaW46YTpi", "Basic YWRtaW4="}) {
        auto request =
            ParseRequest(std::string("GET / HTTP/1.0\r\nAuthorization: ") + header + "\r\n\r\n");
        ASSERT_TRUE(request);
        EXPECT_FALSE(BasicCredentials(*request)) << header;
    }
}

}  // namespace
}  // namespace quirn::sim
