// router_commands.cpp: the administrator log-in and command post, the password set and the
// connection check.
#include "common/net/router_commands.h"

#include <cstring>

#include "common/busy_counter.h"
#include "common/diagnostics.h"
#include "common/net/http_exchange.h"
#include "common/library_state.h"
#include "common/net/network_config.h"
#include "common/page/page_reader.h"
#include "common/router_status.h"
#include "common/net/socket_connection.h"

namespace lumora {
namespace {

constexpr int kReplyBufferSize = 4096;
constexpr int kCommandKindReboot = 0;
constexpr int kCommandKindStandby = 1;
constexpr int kCommandKindUnanswered = 4;
constexpr int kCommandKindPassword = 5;

// Receives until the status line is complete, the buffer is full or the peer stops sending, so a
// status line split over two packets is still read whole. Returns the bytes received or -1.
int ReceiveStatusLine(SocketHandle socket, char* reply) {
    int received = 0;
    while (received < kReplyBufferSize - 1) {
        const int count =
            ReceiveBeforeDeadline(socket, reply + received, kReplyBufferSize - 1 - received);
        if (count <= 0) {
            return received > 0 ? received : count;
        }
        received += count;
        if (std::memchr(reply, '\n', static_cast<std::size_t>(received)) != nullptr) {
            break;
        }
    }
    return received;
}

// Makes `record` the current record of a page read that keeps the token flags as they are.
void MakeScratchRecordCurrent(RouterStatus& record) {
    record = FreshRouterStatus();
    g_library.page_parse = StatusPageState{};
    g_library.current_status = &record;
}

}  // namespace

RouterResult sendCommand(const char* host, const char* request, int request_kind) {
    ExchangeConnection connection;
    RouterResult result =
        connection.Open("sendCommand", host != nullptr ? host : kRouterHostName, 33);
    if (result != kSuccess) {
        return result;
    }
    const SocketHandle socket = connection.socket();
    if (SendBytes(socket, request, static_cast<int>(std::strlen(request))) < 0) {
        LogSocketError("sendCommand: send error\n");
        LogLibraryError(34, __LINE__);
        return kSendFailed;
    }
    if (request_kind == kCommandKindStandby || request_kind == kCommandKindUnanswered) {
        return kSuccess;  // a router going to sleep does not answer
    }
    char reply[kReplyBufferSize] = {};
    if (ReceiveStatusLine(socket, reply) <= 0) {
        LogSocketError("sendCommand: recv error\n");
        LogLibraryError(31, __LINE__);
        // A rebooting router may drop the connection before it answers.
        return request_kind == kCommandKindReboot ? kSuccess : kReceiveFailed;
    }
    const int code = ParseStatusCode(reply);
    if (code == 200) {
        return kSuccess;
    }
    if (code == 401) {
        LogLibraryError(29, __LINE__);
        return kAuthRefused;
    }
    LogLibraryError(30, __LINE__);
    return kUnexpectedResponse;
}

RouterResult RunRouterCommand(const char* admin_password, const char* status_user,
                              int command_index) {
    if (CommandPath(command_index, kAdminUser) == nullptr) {
        LogText("RunRouterCommand: unknown command %d\n", command_index);
        LogLibraryError(40, __LINE__);
        return kLocalFailure;
    }
    char saved_token[sizeof g_library.session_token];
    int saved_token_taken;
    {
        // Taken, not only waited for: a poll on another thread must not change the token while
        // it is saved.
        BusyGuard busy;
        std::memcpy(saved_token, g_library.session_token, sizeof saved_token);
        saved_token_taken = g_library.token_taken;
        g_library.token_taken = 0;
    }
    RouterStatus scratch;
    const RouterResult login =
        GetRouterInfo(kAdminButtonPage, nullptr, kAdminUser, admin_password, scratch);
    if (login != kSuccess && login != kUnexpectedResponse) {
        return login;
    }

    BusyGuard busy;
    const char* user = kAdminUser;
    const char* password = admin_password;
    if (login == kUnexpectedResponse) {
        // No administrator page: post as the status-page account with the last poll's token.
        std::memcpy(g_library.session_token, saved_token, sizeof saved_token);
        g_library.token_taken = saved_token_taken;
        user = status_user;
        password = kStatusPagePassword;
    }
    char request[kRequestBufferSize];
    if (BuildCommandRequest(password, request, command_index, user) != 0) {
        LogText("RunRouterCommand: credentials too long\n");
        LogLibraryError(41, __LINE__);
        return kLocalFailure;
    }
    return sendCommand(nullptr, request, command_index);
}

RouterResult FetchTokenPage(const char* host) {
    BusyGuard busy;
    RouterStatus scratch;  // the top page's values are not wanted, only its token
    MakeScratchRecordCurrent(scratch);
    const RouterResult result = http_getinfo(nullptr, host, kTopPage, nullptr);
    g_library.current_status = nullptr;
    return result == kAuthRefused ? kSuccess : result;
}

RouterResult SetAdminPassword(const char* status_password, const char* new_password,
                              const char* status_user) {
    DiagnosticStream();
    {
        BusyGuard busy;  // the token flag is the library's, shared with other threads' polls
        g_library.token_taken = 0;
    }
    RouterResult result = FetchTokenPage(nullptr);
    if (result != kSuccess) {
        return result;
    }

    BusyGuard busy;
    char request[kRequestBufferSize];
    if (BuildPasswordRequest(request, new_password) != 0) {
        LogText("SetAdminPassword: new password too long\n");
        LogLibraryError(42, __LINE__);
        return kLocalFailure;
    }
    result = sendCommand(nullptr, request, kCommandKindPassword);
    if (result != kSuccess) {
        return result;
    }
    // The router took the password: its status page must now read with the status-page account.
    g_library.page_valid = 1;
    g_library.page_had_token = 0;
    g_library.recognised_connection_code = 0;
    RouterStatus record;
    MakeScratchRecordCurrent(record);
    result = http_getinfo(status_password, nullptr, kStatusPage, status_user);
    if (result == kSuccess && ValidateRouterStatus() != 0) {
        LogLibraryError(38, __LINE__);
        result = kPageNotUnderstood;
    }
    g_library.current_status = nullptr;
    return result;
}

RouterResult CheckConnection() {
    DiagnosticStream();
    BusyGuard busy;
    g_library.page_valid = 1;
    return http_getinfo(nullptr, kMakerHostName, kCheckPage, nullptr);
}

}  // namespace lumora
