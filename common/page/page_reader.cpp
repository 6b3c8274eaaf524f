// page_reader.cpp: the line loop of a page read and the checks around it.
#include "common/page/page_reader.h"

#include <cfloat>
#include <charconv>
#include <cstring>
#include <string_view>

#include "common/diagnostics.h"
#include "common/library_state.h"
#include "common/page/status_page.h"
#include "common/text/text_encoding.h"

namespace lumora {

static_assert(kLineBufferSize == kUtf8LineBufferSize, "a converted line shares the line's limit");

namespace {

// Converts the raw line and feeds it to the scanner; logs `convert_error` or `scan_error`.
RouterResult ConvertAndScan(const char* line, int convert_error, int scan_error) {
    char utf8[kUtf8LineBufferSize];
    int length = EucToUtf8(line, utf8);
    if (length < 0) {
        LogLibraryError(convert_error, __LINE__);
        return kPageNotUnderstood;
    }
    if (g_library.scanner.ScanChunk(utf8, length) != 0) {
        LogLibraryError(scan_error, __LINE__);
        return kPageNotUnderstood;
    }
    return kSuccess;
}

bool EndsBody(const char* raw_line) {
    return std::strstr(raw_line, "</body>") != nullptr ||
           std::strstr(raw_line, "</BODY>") != nullptr;
}

}  // namespace

int MemoryLineSource::ReadLine(char* buffer) {
    const long long left = size_ - position_;
    const int limit = left < kMaxLineBytes ? static_cast<int>(left) : kMaxLineBytes;
    if (limit <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    const char* start = data_ + position_;
    const void* line_end = std::memchr(start, '\n', static_cast<std::size_t>(limit));
    const int count = line_end != nullptr
                          ? static_cast<int>(static_cast<const char*>(line_end) - start) + 1
                          : limit;
    std::memcpy(buffer, start, static_cast<std::size_t>(count));
    buffer[count] = '\0';
    position_ += count;
    return count;
}

RouterResult ReadPageBody(char* line_buffer, LineSource& source) {
    // Stateless: everything the handlers keep is in g_library.
    static StatusPageHandlers handlers;
    g_library.scanner.Reset(handlers);

    line_buffer[kLineBufferSize - 1] = '\0';
    RouterResult result = ConvertAndScan(line_buffer, 10, 11);
    while (result == kSuccess) {
        int count = source.ReadLine(line_buffer);
        // The line ends at `count` even if the source left no terminator, and a source that
        // overfills its line must still leave a terminated text behind. Terminating here,
        // rather than clearing the whole buffer before every read, keeps the line loop cheap.
        if (count > 0 && count < kLineBufferSize) {
            line_buffer[count] = '\0';
        }
        line_buffer[kLineBufferSize - 1] = '\0';
        if (count == 0) {
            break;  // the peer closed: the page ends here
        }
        if (count < 0) {
            LogLibraryError(12, __LINE__);
            result = kReceiveFailed;
            break;
        }
        result = ConvertAndScan(line_buffer, 13, 14);
        if (result == kSuccess && EndsBody(line_buffer)) {
            break;
        }
    }
    // The initial-password page means the credentials are not yet usable, whatever else happened.
    if (g_library.page_valid != 1) {
        result = kAuthRefused;
    }
    return result;
}

float ReadLimitReach(const char* text) {
    std::string_view rest(text);
    if (rest.empty()) {
        return -1.0f;
    }
    while (!rest.empty() && std::strchr(" \t\n\v\f\r", rest.front()) != nullptr) {
        rest.remove_prefix(1);
    }
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Only a plain decimal number counts: no "inf", "nan" or hexadecimal form.
    if (rest.empty() || (rest.front() != '.' && (rest.front() < '0' || rest.front() > '9'))) {
        return 0.0f;
    }
    double value = 0.0;
    auto [end, error] =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::fixed);
    if (error == std::errc::invalid_argument) {
        return 0.0f;
    }
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: only the first has a non-zero digit before ".".
        std::string_view whole = rest.substr(0, rest.find_first_not_of("0123456789"));
        value = whole.find_first_not_of('0') == std::string_view::npos ? 0.0 : DBL_MAX;
    }
    float reach = value > FLT_MAX ? FLT_MAX : static_cast<float>(value);
    return negative ? -reach : reach;
}

int ValidateRouterStatus() {
    RouterStatus* status = g_library.current_status;
    if (status == nullptr) {
        return -1;
    }
    if (status->battery_level < -1 || status->battery_level > 10) {
        LogLibraryError(2, __LINE__);
        return -1;
    }
    if (status->battery_percent < -1 || status->battery_percent > 100) {
        LogLibraryError(4, __LINE__);
        return -1;
    }
    if (status->radio_level < -1 || status->radio_level > 6) {
        LogLibraryError(5, __LINE__);
        return -1;
    }
    if (status->firmware_notice != 0 && status->firmware_notice != 1) {
        LogLibraryError(6, __LINE__);
        return -1;
    }
    if (status->connection_code >= 5) {
        LogLibraryError(7, __LINE__);
        return -1;
    }
    // The reach text may fill its field without a terminator; read it through a bounded copy.
    char reach_text[sizeof status->limit_reach_text + 1] = {};
    std::string_view reach = FieldText(status->limit_reach_text);
    std::memcpy(reach_text, reach.data(), reach.size());
    status->limit_reach = ReadLimitReach(reach_text);
    if (g_library.recognised_connection_code == 0) {
        LogLibraryError(7, __LINE__);  // worth a line, but the record stands
    }
    return 0;
}

void BeginPage(RouterStatus& record) {
    g_library.token_taken = 0;
    g_library.page_had_token = 0;
    g_library.recognised_connection_code = 0;
    g_library.page_valid = 1;
    // A page that ended inside a row must not leave its heading or mode to the next page.
    g_library.page_parse = StatusPageState{};
    g_library.last_error = 0;
    record = FreshRouterStatus();
    g_library.current_status = &record;
}

RouterResult FinishPage(RouterResult result, RouterStatus& output) {
    RouterStatus* record = g_library.current_status;
    if (result == kSuccess && ValidateRouterStatus() != 0) {
        LogLibraryError(24, __LINE__);
        result = kPageNotUnderstood;
    }
    g_library.current_status = nullptr;
    if (result == kSuccess && g_library.page_had_token == 0) {
        LogLibraryError(25, __LINE__);
        result = kPageNotUnderstood;
    }
    // Only a page that passed every check reaches the caller.
    if (result == kSuccess && record != nullptr) {
        output = *record;
    }
    return result;
}

RouterResult InterpretPage(LineSource& source, RouterStatus& output) {
    RouterStatus record;
    BeginPage(record);
    char line[kLineBufferSize] = {};
    RouterResult result;
    if (source.ReadLine(line) < 0) {
        LogLibraryError(12, __LINE__);  // the first line failed like any other page line
        result = kReceiveFailed;
    } else {
        result = ReadPageBody(line, source);
    }
    return FinishPage(result, output);
}

}  // namespace lumora
