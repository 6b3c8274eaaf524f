// fuzz_page.cpp: a whole page as the reader meets it: split into lines by the reader's own rule,
// converted from EUC-JP, scanned, handled, checked for its token and validated, then printed as
// quirnctl prints a status.
//
// Checks: only the results a page read can give; a successful read leaves a record within its
// ranges, texts cut at character boundaries and a token of at most 32 bytes; a page read after
// a page that broke off in the middle gives the same outcome as on its own; the JSON quirnctl
// writes for the record holds no raw control character and only well-formed UTF-8.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/status_json.h"
#include "common/page/entity_decoder.h"
#include "common/library_testing.h"
#include "common/page/page_reader.h"
#include "common/page/status_page.h"
#include "fuzz/fuzz_check.h"

namespace {

using lumora::RouterResult;
using lumora::RouterStatus;

struct Outcome {
    RouterResult result;
    RouterStatus status;
    std::string token;
};

// Length of the well-formed UTF-8 sequence at the start of `text` (surrogates included, which
// the converter writes as they are); 0 when there is none.
std::size_t SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80    ? 1
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC0 ? 2
                                              : 0;
    if (length == 0 || text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool IsWholeUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = SequenceLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

Outcome Interpret(const std::uint8_t* data, std::size_t size) {
    Outcome outcome;
    std::memset(&outcome.status, 0x5A, sizeof outcome.status);
    const RouterStatus untouched = outcome.status;
    // A copy of exactly the input's size, so that reading past it is caught.
    std::vector<char> bytes(data, data + size);
    lumora::MemoryLineSource source(bytes.data(), static_cast<long long>(bytes.size()));
    outcome.result = lumora::InterpretPage(source, outcome.status);
    outcome.token = lumora::library_testing::SessionToken();
    FUZZ_CHECK(lumora::library_testing::CurrentStatus() == nullptr);
    FUZZ_CHECK(outcome.result == lumora::kSuccess || outcome.result == lumora::kAuthRefused ||
               outcome.result == lumora::kPageNotUnderstood);
    if (outcome.result != lumora::kSuccess) {
        FUZZ_CHECK(std::memcmp(&outcome.status, &untouched, sizeof untouched) == 0);
    }
    return outcome;
}

void CheckRecord(const RouterStatus& s) {
    FUZZ_CHECK(s.battery_level >= -2 && s.battery_level <= 10);
    FUZZ_CHECK(s.battery_percent >= -3 && s.battery_percent <= 100);
    FUZZ_CHECK(s.radio_level >= -2 && s.radio_level <= 6);
    FUZZ_CHECK(s.firmware_notice == 0 || s.firmware_notice == 1);
    FUZZ_CHECK(s.connection_code >= -2 && s.connection_code <= 4);
    for (std::string_view field :
         {lumora::FieldText(s.firmware_version), lumora::FieldText(s.connection_text),
          lumora::FieldText(s.wan_address), lumora::FieldText(s.bt_name),
          lumora::FieldText(s.bt_address), lumora::FieldText(s.domain_name),
          lumora::FieldText(s.wifi_wan_link), lumora::FieldText(s.volume_limit),
          lumora::FieldText(s.volume_month), lumora::FieldText(s.limit_reach_text)}) {
        FUZZ_CHECK(IsWholeUtf8(field));
    }
    const std::string connection(lumora::FieldText(s.connection_text));
    FUZZ_CHECK(lumora::EntityTable::Decode(connection).size() <= connection.size());
}

void CheckJson(const std::string& json) {
    for (char c : json) {
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 || c == '\n');
    }
    // Valid JSON text is valid UTF-8 without surrogate code points.
    std::string_view rest(json);
    while (!rest.empty()) {
        const std::size_t length = SequenceLength(rest);
        FUZZ_CHECK(length != 0);
        FUZZ_CHECK(!(length == 3 && static_cast<unsigned char>(rest[0]) == 0xED &&
                     static_cast<unsigned char>(rest[1]) >= 0xA0));
        rest.remove_prefix(length);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quirn::fuzz::SilenceDiagnostics();
    lumora::library_testing::SetSessionToken("");

    const Outcome first = Interpret(data, size);
    FUZZ_CHECK(first.token.size() <= 32);
    if (first.result == lumora::kSuccess) {
        FUZZ_CHECK(lumora::library_testing::PageHadToken() == 1);
        CheckRecord(first.status);
        CheckJson(quirnctl::StatusJson(first.result, &first.status, true));
    }

    // The same page after one that broke off halfway: nothing of the broken page may remain,
    // except a token it left when this page delivers none (which fails the read anyway).
    Interpret(data, size / 2);
    lumora::library_testing::SetSessionToken("");
    const Outcome again = Interpret(data, size);
    FUZZ_CHECK(again.result == first.result);
    FUZZ_CHECK(again.token == first.token);
    if (first.result == lumora::kSuccess) {
        FUZZ_CHECK(std::memcmp(&again.status, &first.status, sizeof first.status) == 0);
    }
    return 0;
}
