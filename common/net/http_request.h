// http_request.h: the requests the library sends to the router, built byte for byte into fixed
// buffers: the page GET, the command POST and the administrator-password POST.
//
// Builders return 0, or -1 when the request cannot be built: it does not fit its budget, the
// page or command index is unknown, or the credentials exceed their limits (they are refused,
// never cut). On -1 the buffer's content is unspecified and must not be sent.
#pragma once

namespace lumora {

// A request buffer; the request text is at most kRequestBufferSize - 1 bytes.
inline constexpr int kRequestBufferSize = 1024;
// Longest "user:password" text, and longest Base64 form of it.
inline constexpr int kCredentialsLimit = 99;

// The administrator account's user name; its password is the one the user set on the router.
inline constexpr char kAdminUser[] = "admin";

// Pages a GET may ask for. Only the status page and the administrator log-in page carry
// credentials.
enum PageIndex : int {
    kStatusPage = 0,      // "/mobile/mobile.cgi/info_remote_main"
    kCheckPage = 1,       // "/function/wimax/index.html" on the maker's host
    kTopPage = 2,         // "/"
    kAdminButtonPage = 4  // "/index.cgi/info_btn"
};

// Commands, numbered as callers pass them; the number is also sendCommand's request kind.
enum CommandIndex : int { kReboot = 0, kStandby = 1, kSwitchToLte3g = 2, kSwitchToWlan = 3 };

// The path of a page index; nullptr for an index outside the page table.
const char* PagePath(int page_index);

// The path of a command: the administrator's when `user` is exactly "admin", else the
// status-page account's. nullptr for an unknown command index.
const char* CommandPath(int command_index, const char* user);

// Writes the Base64 form of "user:password" (null texts count as empty) into `base64`, which
// holds kCredentialsLimit + 1 bytes. Returns -1 when the user name exceeds 98 bytes, the text
// exceeds kCredentialsLimit bytes or its Base64 form exceeds kCredentialsLimit characters.
int BuildCredentials(const char* user, const char* password, char* base64);

// Appends the application/x-www-form-urlencoded form of `value` to `out` (capacity bytes, a
// terminator included): A-Z a-z 0-9 - _ . ~ as they are, every other byte as %XX. Returns the
// number of bytes written, or -1 when the form does not fit.
int PercentEncodeFormValue(const char* value, char* out, int capacity);

// A GET of the page, HTTP/1.0, with Basic credentials for the pages that need them, into
// `request` (kRequestBufferSize bytes, zero-filled first).
int BuildGetRequest(int page_index, char* request, const char* user, const char* password);

// A command POST: the command's path for `user`, Basic credentials of user and password, and
// the body "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=" with the session token appended
// only while g_library.token_taken is set. Inserted values are form-encoded.
int BuildCommandRequest(const char* password, char* request, int command_index, const char* user);

// The administrator-password POST with the new password twice and the session token (always
// appended); no credentials. Inserted values are form-encoded.
int BuildPasswordRequest(char* request, const char* new_password);

}  // namespace lumora
