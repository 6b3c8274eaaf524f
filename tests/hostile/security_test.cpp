// Secrets and hostile values: no password, credential or token ever shows in a diagnostic line
// or in what quirnctl prints; every value put into a form body arrives intact whatever its
// characters; a profile with absurd values loads without harm.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "cli/command.h"
#include "common/text/base64.h"
#include "common/net/http_request.h"
#include "common/library_testing.h"
#include "common/net/router_commands.h"
#include "state/app_settings.h"
#include "state/ini_profile_store.h"
#include "state/stored_password.h"
#include "tests/support/library_on_simulator.h"

namespace lumora {
namespace {

using quirn::sim::Fault;
using quirn::sim::RouterState;
using testing_support::LibraryOnSimulatorTest;

// Characters that mean something in a URL or a form body, and non-ASCII text.
const char* const kHostileValues[] = {"a&b",
                                      "k=v",
                                      "100%",
                                      "#frag",
                                      "user@host",
                                      "a/b",
                                      "two words",
                                      "p\xC3\xA4ss\xE6\x97\xA5",
                                      "&=%#@/ +?\xC3\xA9"};

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "quirn_security_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// A form body's fields in order, each value percent-decoded.
std::vector<std::pair<std::string, std::string>> FormFields(const std::string& body) {
    auto decode = [](const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size()) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += text[i];
            }
        }
        return out;
    };
    std::vector<std::pair<std::string, std::string>> fields;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('&', start);
        end = end == std::string::npos ? body.size() : end;
        const std::string field = body.substr(start, end - start);
        const std::size_t equals = field.find('=');
        fields.emplace_back(decode(field.substr(0, equals)),
                            equals == std::string::npos ? "" : decode(field.substr(equals + 1)));
        start = end + 1;
    }
    return fields;
}

// True when `body` holds nothing but what form encoding leaves: unreserved bytes, "%XX", and
// the "&" and "=" that separate the fields.
bool OnlyEncodedBytes(const std::string& body) {
    for (char c : body) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                           c == '.' || c == '~' || c == '%' || c == '&' || c == '=';
        if (!plain) {
            return false;
        }
    }
    return true;
}

TEST(HostileValues, TokenAndPasswordAreEncodedInEveryFormBody) {
    for (const char* value : kHostileValues) {
        SCOPED_TRACE(value);
        library_testing::SetSessionToken(value);
        library_testing::SetTokenTaken(1);
        char request[kRequestBufferSize];

        ASSERT_EQ(BuildPasswordRequest(request, value), 0);
        std::string text = request;
        std::string body = text.substr(text.find("\r\n\r\n") + 4);
        EXPECT_EQ(text.rfind("POST /index.cgi/wizard_password_set HTTP/1.1\r\n", 0), 0u);
        EXPECT_NE(text.find("Content-Length: " + std::to_string(body.size()) + "\r\n"),
                  std::string::npos);
        EXPECT_TRUE(OnlyEncodedBytes(body)) << body;
        using Fields = std::vector<std::pair<std::string, std::string>>;
        EXPECT_EQ(FormFields(body), (Fields{{"INIT_PASSWD", value},
                                            {"INIT_RETRY_PASSWD", value},
                                            {"DISABLED_CHECKBOX", ""},
                                            {"CHECK_ACTION_MODE", "1"},
                                            {"SESSION_ID", value}}));

        ASSERT_EQ(BuildCommandRequest(value, request, kSwitchToWlan, kAdminUser), 0);
        text = request;
        EXPECT_EQ(text.rfind("POST /index.cgi/info_btn_wlan HTTP/1.1\r\n", 0), 0u);
        body = text.substr(text.find("\r\n\r\n") + 4);
        body.resize(body.size() - 4);  // the command request ends with an empty line
        EXPECT_TRUE(OnlyEncodedBytes(body)) << body;
        EXPECT_EQ(
            FormFields(body),
            (Fields{{"DISABLED_CHECKBOX", ""}, {"CHECK_ACTION_MODE", "1"}, {"SESSION_ID", value}}));
        // The password travels only in the credentials, whole.
        const std::string credentials = "admin:" + std::string(value);
        EXPECT_NE(text.find("Authorization: Basic " +
                            Base64Encode(credentials.data(), credentials.size()) + "\r\n"),
                  std::string::npos);
    }
    library_testing::SetSessionToken("");
    library_testing::SetTokenTaken(0);
}

class SecuritySimTest : public LibraryOnSimulatorTest {};

TEST_F(SecuritySimTest, HostilePasswordsAreSetAndLogInIntact) {
    testing_support::DiagnosticLog log;
    for (const char* value : kHostileValues) {
        SCOPED_TRACE(value);
        StartSim(DefaultOptions());
        sim().UpdateState([](RouterState& s) { s.initial_password_mode = true; });
        ASSERT_EQ(SetAdminPassword(kStatusPagePassword, value, kStatusPageUser), kSuccess);
        EXPECT_EQ(sim().state().admin_password, value);
        EXPECT_EQ(RunRouterCommand(value, kStatusPageUser, kSwitchToWlan), kSuccess);
    }
}

struct Outcome {
    int exit_status;
    std::string printed;  // standard output and standard error together
};

// Runs a quirnctl command in-process as its main does, diagnostics on standard error.
Outcome Quirnctl(int (*run)(const std::vector<std::string>&),
                 const std::vector<std::string>& args) {
    lumora::SetDiagnosticStream(stderr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int exit_status;
    try {
        exit_status = run(args);
    } catch (const quirnctl::UsageError& error) {
        std::fprintf(stderr, "quirnctl: %s\n", error.what());
        exit_status = quirnctl::kExitUsage;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    Outcome outcome{exit_status, out + testing::internal::GetCapturedStderr()};
    lumora::SetDiagnosticStream(nullptr);
    return outcome;
}

TEST_F(SecuritySimTest, QuirnctlAndDiagnosticsNeverShowASecret) {
    const std::string admin = "Adm1n-S3cret";
    const std::string fresh = "Fr3sh-S3cret";
    const std::string wrong = "Wr0ng-S3cret";
    const std::string admin_file = TempPath("admin.txt");
    const std::string wrong_file = TempPath("wrong.txt");
    const std::string fresh_file = TempPath("fresh.txt");
    const std::string profile = TempPath("profile.ini");
    WriteFile(admin_file, admin + "\n");
    WriteFile(wrong_file, wrong + "\n");
    WriteFile(fresh_file, fresh + "\n");
    const std::wstring wide_admin(admin.begin(), admin.end());
    const std::wstring stored = quirn::EncodeStoredPassword(wide_admin.c_str()).stored;
    WriteFile(profile, "[router_info]\r\nconnect_domain=127.0.0.1\r\nconnect_rt_pw=" +
                           std::string(stored.begin(), stored.end()) + "\r\n");

    struct Step {
        const char* name;
        std::function<void(SecuritySimTest&)> setup;
        int (*run)(const std::vector<std::string>&);
        std::vector<std::string> args;
        int exit_status;  // so that each path is known to have run
    };
    auto fault = [](Fault f) { return [f](SecuritySimTest& t) { t.sim().SetFault(f); }; };
    auto none = [](SecuritySimTest&) {};
    const Step steps[] = {
        {"status", none, &quirnctl::RunStatus, {}, kSuccess},
        {"status json", none, &quirnctl::RunStatus, {"--json"}, kSuccess},
        {"switch", none, &quirnctl::RunSwitch, {"wlan", "--password-file", admin_file}, kSuccess},
        {"switch json",
         none,
         &quirnctl::RunSwitch,
         {"lte3g", "--json", "--password-file", admin_file},
         kSuccess},
        {"wrong password",
         none,
         &quirnctl::RunReboot,
         {"--json", "--password-file", wrong_file},
         kAuthRefused},
        {"fall-back to the status account",
         fault(Fault::kNoAdminPages),
         &quirnctl::RunSwitch,
         {"wlan", "--json", "--password-file", admin_file},
         kSuccess},
        {"refused status",
         fault(Fault::kUnauthorizedWithBody),
         &quirnctl::RunStatus,
         {"--json"},
         kAuthRefused},
        {"garbage",
         fault(Fault::kBinaryGarbage),
         &quirnctl::RunSwitch,
         {"wlan", "--password-file", admin_file},
         kUnexpectedResponse},
        {"profile", none, &quirnctl::RunSwitch, {"wlan", "--json", "--profile", profile}, kSuccess},
        {"check", none, &quirnctl::RunCheck, {"--json"}, kSuccess},
        {"set password",
         [](SecuritySimTest& t) {
             t.sim().UpdateState([](RouterState& s) { s.initial_password_mode = true; });
         },
         &quirnctl::RunSetPassword,
         {"--json", "--password-file", fresh_file},
         kSuccess},
        {"bad password file",
         none,
         &quirnctl::RunSetPassword,
         {"--password-file", TempPath("no_such_file")},
         quirnctl::kExitUsage},
    };
    std::string printed;
    std::vector<std::string> tokens;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        StartSim(DefaultOptions());
        sim().UpdateState([&](RouterState& s) { s.admin_password = admin; });
        step.setup(*this);
        const Outcome outcome = Quirnctl(step.run, step.args);
        EXPECT_EQ(outcome.exit_status, step.exit_status);
        printed += outcome.printed;
        tokens.push_back(sim().LastToken());
        for (const quirn::sim::ReceivedRequest& request : sim().ReceivedRequests()) {
            for (const auto& [name, value] : FormFields(request.body)) {
                if (name == "SESSION_ID") {
                    tokens.push_back(value);
                }
            }
        }
    }
    EXPECT_NE(printed.find("setsockopt"), std::string::npos);  // the diagnostics were captured

    auto basic = [](const std::string& user, const std::string& password) {
        const std::string text = user + ":" + password;
        return Base64Encode(text.data(), text.size());
    };
    std::vector<std::string> secrets = {admin,
                                        fresh,
                                        wrong,
                                        kStatusPagePassword,
                                        std::string(stored.begin(), stored.end()),
                                        basic("admin", admin),
                                        basic("admin", wrong),
                                        basic(kStatusPageUser, kStatusPagePassword)};
    for (const std::string& token : tokens) {
        if (!token.empty()) {
            secrets.push_back(token);
        }
    }
    for (const std::string& secret : secrets) {
        EXPECT_EQ(printed.find(secret), std::string::npos) << secret;
    }
    for (const std::string& path : {admin_file, wrong_file, fresh_file, profile}) {
        std::remove(path.c_str());
    }
}

TEST(AbsurdProfile, LoadsWithoutHarmAndSavesWithoutLoss) {
    const std::string huge(10000, 'v');
    struct Case {
        const char* name;
        std::string bytes;
        std::function<void(const quirn::AppSettings&)> check;
    };
    const int32_t kMax = std::numeric_limits<int32_t>::max();
    const int32_t kMin = std::numeric_limits<int32_t>::min();
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) & 0xFF);
    }
    const Case cases[] = {
        {"huge numbers",
         "[application_info]\nreload_cycle=99999999999999999999999999\n"
         "window_pos_x=-99999999999999999999\nwindow_pos_y=4294967296\n"
         "app_startup=18446744073709551617\napp_keep_task=0x7fffffff\n",
         [&](const quirn::AppSettings& s) {
             EXPECT_EQ(s.reload_cycle.value, kMax);
             EXPECT_EQ(s.window_pos_x.value, kMin);
             EXPECT_EQ(s.window_pos_y.value, kMax);
             EXPECT_EQ(s.app_startup.value, kMax);
             EXPECT_EQ(s.app_keep_task.value, 0);
         }},
        {"10,000-character values",
         "[application_info]\napp_version=" + huge + "\n[router_info]\nconnect_domain=" + huge +
             "\nconnect_rt_pw=" + std::string(10000, 'Q') + "\n",
         [&](const quirn::AppSettings& s) {
             EXPECT_EQ(s.app_version.value, std::wstring(huge.begin(), huge.end()));
             EXPECT_EQ(s.connect_domain.value.size(), 10000u);
             EXPECT_LE(quirn::DecodeStoredPassword(s.connect_rt_pw.value.c_str()).length,
                       quirn::kMaxStoredPasswordBytes);
         }},
        {"binary", binary,
         [&](const quirn::AppSettings& s) {
             EXPECT_EQ(s.reload_cycle.value, quirn::kDefaultReloadCycle);  // read as missing
         }},
        {"binary without a zero byte",
         binary.substr(1, 255) + "\n[router_info]\n" + binary.substr(1, 200),
         [&](const quirn::AppSettings&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath("absurd.ini");
        WriteFile(path, c.bytes);
        quirn::IniProfileStore store{std::filesystem::path(path)};
        quirn::AppSettings loaded;
        loaded.LoadProfile(store, quirn::DesktopRect{0, 0, 1920, 1080});
        c.check(loaded);
        EXPECT_EQ(ReadFile(path), c.bytes);  // loading wrote nothing

        // What was loaded is saved and read back as it was, or the save is refused whole.
        if (loaded.SaveProfile(store)) {
            quirn::AppSettings again;
            again.LoadProfile(store, quirn::DesktopRect{0, 0, 1920, 1080});
            EXPECT_EQ(again.app_version.value, loaded.app_version.value);
            EXPECT_EQ(again.reload_cycle.value, loaded.reload_cycle.value);
            EXPECT_EQ(again.window_pos_x.value, loaded.window_pos_x.value);
            EXPECT_EQ(again.connect_domain.value, loaded.connect_domain.value);
            EXPECT_EQ(again.connect_rt_pw.value, loaded.connect_rt_pw.value);
        }
        std::remove(path.c_str());
    }
}

TEST(AbsurdProfile, QuirnctlRefusesOrFailsCleanly) {
    const std::string path = TempPath("absurd_quirnctl.ini");
    const std::wstring stored = quirn::EncodeStoredPassword(L"quirn-admin").stored;
    struct Case {
        const char* name;
        std::string bytes;
        int (*run)(const std::vector<std::string>&);
        int exit_status;
        const char* printed;
    };
    const Case cases[] = {
        // A host name of 10,000 characters is refused by the resolver without asking a server.
        {"10,000-character router address",
         "[router_info]\nconnect_domain=" + std::string(10000, 'd') +
             "\nconnect_rt_pw=" + std::string(stored.begin(), stored.end()) + "\n",
         &quirnctl::RunStatus, kConnectFailed, "result: 1 "},
        // Refused by the command that would log in with it, before anything is sent.
        {"10,000-character stored password",
         "[router_info]\nconnect_domain=x\nconnect_rt_pw=" + std::string(10000, 'Q') + "\n",
         &quirnctl::RunReboot, quirnctl::kExitUsage, "cannot be decoded"},
        {"binary", std::string("\0\1\2[router_info]\nconnect_domain=x\n", 33),
         &quirnctl::RunStatus, quirnctl::kExitUsage, "cannot read the profile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(path, c.bytes);
        const Outcome outcome = Quirnctl(c.run, {"--profile", path});
        EXPECT_EQ(outcome.exit_status, c.exit_status);
        EXPECT_NE(outcome.printed.find(c.printed), std::string::npos) << outcome.printed;
        EXPECT_EQ(outcome.printed.find("QQQQ"), std::string::npos);
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace lumora
