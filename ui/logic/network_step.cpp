// network_step.cpp: the router exchanges of the worker runs.
#include "ui/logic/network_step.h"

#include <algorithm>
#include <cstring>

#include "common/net/http_request.h"
#include "common/page/entity_decoder.h"
#include "common/text/code_page.h"
#include "state/stored_password.h"

namespace quirn {

std::optional<std::string> Utf8(const std::wstring& text) {
    try {
        return lumora::WideToNarrow(text.c_str(), lumora::kCodePageUtf8);
    } catch (const lumora::ConversionError&) {
        return std::nullopt;
    }
}

namespace {

// Decodes the references of a record's text field in place. The parser may fill all N bytes
// (cut at a character boundary, no terminating zero); the decoded text is never longer than
// its input, so it goes back whole, and a cut, should one be needed, keeps to a UTF-8 boundary.
template <size_t N>
void DecodeReferences(char (&field)[N]) {
    const std::string text(field, std::find(field, field + N, '\0'));
    const std::string decoded = lumora::EntityTable::Decode(text);
    size_t length = std::min(decoded.size(), N);
    while (length > 0 && length < decoded.size() &&
           (static_cast<unsigned char>(decoded[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(field, decoded.data(), length);
    std::fill(field + length, field + N, '\0');
}

}  // namespace

std::optional<RunCredentials> PrepareCredentials(const AppSettings& settings) {
    const auto address = Utf8(settings.connect_domain.value);
    const auto user = Utf8(settings.connect_user.value);
    const auto password = Utf8(settings.connect_pass.value);
    const auto admin = Utf8(DecodeStoredPassword(settings.connect_rt_pw.value.c_str()).plain);
    if (!address || !user || !password || !admin) {
        return std::nullopt;
    }
    return RunCredentials{*address, *user, *password, *admin};
}

NetworkOutcome FetchStatus(RouterLibrary& library, std::mutex& statusLock,
                           const RunCredentials& credentials) {
    lumora::RouterStatus record;
    std::memset(&record, 0, sizeof record);
    NetworkOutcome outcome;
    {
        std::lock_guard lock(statusLock);
        const char* host =
            credentials.router_address.empty() ? nullptr : credentials.router_address.c_str();
        outcome.result = library.GetRouterInfo(0, host, credentials.status_user.c_str(),
                                               credentials.status_password.c_str(), record);
    }
    if (outcome.result == lumora::kSuccess) {
        lumora::EntityTable::Prepare();
        DecodeReferences(record.connection_text);
        outcome.status = ToDisplayStatus(record);
    }
    return outcome;
}

NetworkOutcome RunCommand(RouterLibrary& library, const RunCredentials& credentials,
                          int command_index) {
    NetworkOutcome outcome;
    outcome.result = library.RunRouterCommand(credentials.admin_password.c_str(),
                                              credentials.status_user.c_str(), command_index);
    return outcome;
}

NetworkOutcome RunConnectionCheck(RouterLibrary& library) {
    NetworkOutcome outcome;
    outcome.result = library.CheckConnection();
    return outcome;
}

int SwitchCommandIndex(int32_t connection_code) {
    return connection_code == 1 ? lumora::kSwitchToLte3g : lumora::kSwitchToWlan;
}

}  // namespace quirn
