// http_request.cpp: the request builders, their bounded appends and the form encoding.
#include "common/net/http_request.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/text/base64.h"
#include "common/library_state.h"
#include "common/net/network_config.h"

namespace lumora {
namespace {

constexpr int kRequestBudget = kRequestBufferSize - 1;
// Room for the command body: its fixed text and a fully encoded 32-byte token.
constexpr int kCommandBodySize = 256;
// Room for the password body before the token: the fixed texts and a 64-byte password twice,
// even when every one of its bytes needs the three-byte encoded form.
constexpr int kPasswordBodySize = 512;

constexpr char kCommandBody[] = "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=";

struct CommandPaths {
    const char* admin;
    const char* status_account;
};

constexpr CommandPaths kCommandPaths[] = {
    {"/index.cgi/info_btn_reboot", "/mobile/mobile.cgi/info_remote_main_reboot"},
    {"/index.cgi/info_btn_standby", "/mobile/mobile.cgi/info_remote_main_standby"},
    {"/index.cgi/info_btn_lte3g", "/mobile/mobile.cgi/info_remote_main_lte3g"},
    {"/index.cgi/info_btn_wlan", "/mobile/mobile.cgi/info_remote_main_wlan"},
};

// Appends pieces within a byte budget. A piece longer than what is left is cut, the whole
// append fails, and every later append is ignored: the builder then reports -1.
class BoundedAppender {
  public:
    BoundedAppender(char* buffer, int budget) : buffer_(buffer), budget_(budget) {}

    void Append(const char* piece) { Append(piece, static_cast<int>(std::strlen(piece))); }

    void Append(const char* piece, int length) {
        if (failed_) {
            return;
        }
        const int copied = length < budget_ ? length : budget_;
        std::memcpy(buffer_ + used_, piece, static_cast<std::size_t>(copied));
        used_ += copied;
        budget_ -= length;
        failed_ = budget_ < 0;
    }

    void AppendNumber(int value) {
        char digits[16];
        Append(digits, std::snprintf(digits, sizeof digits, "%d", value));
    }

    // Appends `value` in its form-encoded form.
    void AppendFormValue(const char* value) {
        char encoded[3 * kPasswordBodySize + 1];
        const int length = PercentEncodeFormValue(value, encoded, sizeof encoded);
        if (length < 0) {
            failed_ = true;
            return;
        }
        Append(encoded, length);
    }

    bool ok() const { return !failed_; }
    int length() const { return used_; }

  private:
    char* buffer_;
    int budget_;
    int used_ = 0;
    bool failed_ = false;
};

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

const char* OrEmpty(const char* text) {
    return text == nullptr ? "" : text;
}

}  // namespace

const char* PagePath(int page_index) {
    switch (page_index) {
        case kStatusPage:
            return "/mobile/mobile.cgi/info_remote_main";
        case kCheckPage:
            return "/function/wimax/index.html";
        case kTopPage:
            return "/";
        case kAdminButtonPage:
            return "/index.cgi/info_btn";
        default:
            return nullptr;
    }
}

const char* CommandPath(int command_index, const char* user) {
    if (command_index < 0 || command_index > kSwitchToWlan) {
        return nullptr;
    }
    const CommandPaths& paths = kCommandPaths[command_index];
    return std::strcmp(OrEmpty(user), kAdminUser) == 0 ? paths.admin : paths.status_account;
}

int BuildCredentials(const char* user, const char* password, char* base64) {
    char text[kCredentialsLimit + 1] = {};
    BoundedAppender credentials(text, kCredentialsLimit);
    credentials.Append(OrEmpty(user));
    credentials.Append(":");
    credentials.Append(OrEmpty(password));
    if (!credentials.ok()) {
        return -1;
    }
    const std::string encoded = Base64Encode(text, static_cast<std::size_t>(credentials.length()));
    if (encoded.size() > static_cast<std::size_t>(kCredentialsLimit)) {
        return -1;
    }
    std::memcpy(base64, encoded.c_str(), encoded.size() + 1);
    return 0;
}

int PercentEncodeFormValue(const char* value, char* out, int capacity) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    int length = 0;
    for (const char* p = value; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const int needed = IsUnreserved(c) ? 1 : 3;
        if (length + needed >= capacity) {
            return -1;
        }
        if (needed == 1) {
            out[length++] = static_cast<char>(c);
        } else {
            out[length++] = '%';
            out[length++] = kHex[c >> 4];
            out[length++] = kHex[c & 0x0F];
        }
    }
    out[length] = '\0';
    return length;
}

int BuildGetRequest(int page_index, char* request, const char* user, const char* password) {
    std::memset(request, 0, kRequestBufferSize);
    const char* path = PagePath(page_index);
    if (path == nullptr) {
        return -1;
    }
    BoundedAppender out(request, kRequestBudget);
    out.Append("GET ");
    out.Append(path);
    out.Append(" ");
    out.Append("HTTP/1.0");
    out.Append("\r\n");
    out.Append("Connection: Keep-Alive");
    out.Append("\r\n");
    if (page_index != kCheckPage && page_index != kTopPage) {
        char credentials[kCredentialsLimit + 1];
        if (BuildCredentials(user, password, credentials) != 0) {
            return -1;
        }
        out.Append("Authorization: Basic ");
        out.Append(credentials);
        out.Append("\r\n");
    }
    out.Append("\r\n");
    return out.ok() ? 0 : -1;
}

int BuildCommandRequest(const char* password, char* request, int command_index, const char* user) {
    std::memset(request, 0, kRequestBufferSize);
    const char* path = CommandPath(command_index, user);
    char credentials[kCredentialsLimit + 1];
    if (path == nullptr || BuildCredentials(user, password, credentials) != 0) {
        return -1;
    }
    char body[kCommandBodySize] = {};
    BoundedAppender body_out(body, kCommandBodySize - 1);
    body_out.Append(kCommandBody);
    if (g_library.token_taken != 0) {
        body_out.AppendFormValue(g_library.session_token);
    }
    if (!body_out.ok()) {
        return -1;
    }

    BoundedAppender out(request, kRequestBudget);
    out.Append("POST ");
    out.Append(path);
    out.Append(" ");
    out.Append("HTTP/1.1");
    out.Append("\r\n");
    out.Append("HOST: ");
    out.Append(kRouterHostName);  // the router's name, whatever address the request goes to
    out.Append("\r\n");
    out.Append("Connection: keep-alive");
    out.Append("\r\n");
    out.Append("Authorization: Basic ");
    out.Append(credentials);
    out.Append("\r\n");
    out.Append("Content-Type: application/x-www-form-urlencoded");
    out.Append("\r\n");
    out.Append("Content-Length: ");
    out.AppendNumber(body_out.length());
    out.Append("\r\n");
    out.Append("\r\n");
    out.Append(body, body_out.length());
    out.Append("\r\n");
    out.Append("\r\n");
    return out.ok() ? 0 : -1;
}

int BuildPasswordRequest(char* request, const char* new_password) {
    std::memset(request, 0, kRequestBufferSize);
    char body[kPasswordBodySize] = {};
    BoundedAppender body_out(body, kPasswordBodySize - 1);
    body_out.Append("INIT_PASSWD=");
    body_out.AppendFormValue(OrEmpty(new_password));
    body_out.Append("&INIT_RETRY_PASSWD=");
    body_out.AppendFormValue(OrEmpty(new_password));
    body_out.Append("&DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=");
    char token[3 * sizeof g_library.session_token];
    const int token_length = PercentEncodeFormValue(g_library.session_token, token, sizeof token);
    if (!body_out.ok() || token_length < 0) {
        return -1;
    }

    BoundedAppender out(request, kRequestBudget);
    out.Append("POST /index.cgi/wizard_password_set HTTP/1.1");
    out.Append("\r\n");
    out.Append("HOST: ");
    out.Append(kRouterHostName);
    out.Append("\r\n");
    out.Append("Connection: keep-alive");
    out.Append("\r\n");
    out.Append("Content-Length: ");
    out.AppendNumber(body_out.length() + token_length);
    out.Append("\r\n");
    out.Append("Content-Type: application/x-www-form-urlencoded");
    out.Append("\r\n");
    out.Append("\r\n");
    out.Append(body, body_out.length());
    out.Append(token, token_length);
    return out.ok() ? 0 : -1;
}

}  // namespace lumora
