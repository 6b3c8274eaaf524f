// http_exchange.cpp: the page fetch over a socket and the status poll around it.
#include "common/net/http_exchange.h"

#include <cstring>

#include "common/busy_counter.h"
#include "common/diagnostics.h"
#include "common/net/http_request.h"
#include "common/net/network_config.h"
#include "common/page/page_reader.h"
#include "common/net/socket_connection.h"

namespace lumora {

static_assert(kReadLineBufferSize == kLineBufferSize && kReadLineLimit == kMaxLineBytes,
              "the page reader's lines are read_line's lines");

namespace {

// The rest of a response, line by line, for the page reader.
class SocketLineSource : public LineSource {
  public:
    explicit SocketLineSource(SocketHandle socket) : socket_(socket) {}
    int ReadLine(char* buffer) override { return read_line(buffer, socket_); }

  private:
    SocketHandle socket_;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

int ParseStatusCode(const char* line) {
    const char* p = std::strstr(line, "HTTP");
    if (p == nullptr) {
        return kNoHttp;
    }
    while (*p != '\0' && !IsBlank(*p)) {
        ++p;
    }
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p < '0' || *p > '9') {
        return kNoStatusCode;
    }
    int code = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (code < 100000) {  // any longer run is just "not a code we know"
            code = code * 10 + (*p - '0');
        }
    }
    return code;
}

RouterResult http_getinfo(const char* password, const char* host, int page_index,
                          const char* user) {
    char request[kRequestBufferSize];
    if (BuildGetRequest(page_index, request, user, password) != 0) {
        LogText("http_getinfo: credentials too long or unknown page\n");
        LogLibraryError(39, __LINE__);
        return kLocalFailure;
    }
    ExchangeConnection connection;
    RouterResult result =
        connection.Open("http_getinfo", host != nullptr ? host : kRouterHostName, 16);
    if (result != kSuccess) {
        return result;
    }
    const SocketHandle socket = connection.socket();
    if (SendBytes(socket, request, static_cast<int>(std::strlen(request))) < 0) {
        LogSocketError("http_getinfo: send error\n");
        LogLibraryError(17, __LINE__);
        return kSendFailed;
    }
    char line[kLineBufferSize] = {};
    if (read_line(line, socket) < 0) {
        LogSocketError("http_getinfo: read_line error\n");
        LogLibraryError(18, __LINE__);
        return kReceiveFailed;
    }
    const int code = ParseStatusCode(line);
    if (code == 200) {
        if (page_index == kCheckPage) {
            return kSuccess;  // reaching the host is all the check asks
        }
        SocketLineSource source(socket);
        return ReadPageBody(line, source);
    }
    if (code == 401) {
        LogLibraryError(19, __LINE__);
        return kAuthRefused;
    }
    LogLibraryError(20, __LINE__);
    return kUnexpectedResponse;
}

RouterResult GetRouterInfo(int page_index, const char* host, const char* user, const char* password,
                           RouterStatus& output) {
    DiagnosticStream();
    BusyGuard busy;
    RouterStatus record;
    BeginPage(record);
    return FinishPage(http_getinfo(password, host, page_index, user), output);
}

}  // namespace lumora
