// router_result.h: the result code of every router exchange.
#pragma once

namespace lumora {

// Callers distinguish Success, AuthRefused and "anything else"; the numbers are part of
// quirnctl's exit status, so they never change.
enum RouterResult : int {
    kSuccess = 0,
    kConnectFailed = 1,   // the connection could not be established
    kSendFailed = 2,      // the request could not be sent
    kReceiveFailed = 3,   // the response could not be read (socket error or time-out)
    kAuthRefused = 4,     // HTTP 401, or the router's initial-password page
    kPageNotUnderstood = 5,  // conversion, scanner or validation failure, or no session token
    kUnexpectedResponse = 6,  // no "HTTP" in the status line, or a status other than 200/401
    kLocalFailure = 7,        // a socket option or memory could not be had
};

}  // namespace lumora
