// session_token.cpp: the "input" branch of the page handlers, keeping the router's session token.
#include "common/page/session_token.h"

#include <cstring>

#include "common/library_state.h"

namespace lumora {
namespace {

// The list must open with exactly these entries, in this order; the token follows them.
constexpr const char* kTokenInputPrefix[] = {"type", "hidden",     "id",   "SESSION_ID",
                                             "name", "SESSION_ID", "value"};
constexpr int kTokenInputPrefixSize = sizeof(kTokenInputPrefix) / sizeof(kTokenInputPrefix[0]);

static_assert(sizeof(LibraryState::session_token) == kSessionTokenLength + 1,
              "the token buffer holds the longest token and its terminator");

}  // namespace

void CaptureSessionToken(const char* const* attributes) {
    if (attributes == nullptr || g_library.token_taken != 0) {
        return;
    }
    // Stops at the list's null before reading past it.
    for (int i = 0; i < kTokenInputPrefixSize; ++i) {
        if (attributes[i] == nullptr || std::strcmp(attributes[i], kTokenInputPrefix[i]) != 0) {
            return;
        }
    }
    const char* token = attributes[kTokenInputPrefixSize];
    if (token == nullptr) {
        return;
    }
    std::memset(g_library.session_token, 0, sizeof(g_library.session_token));
    std::memcpy(g_library.session_token, token, strnlen(token, kSessionTokenLength));
    g_library.token_taken = 1;
    g_library.page_had_token = 1;
}

}  // namespace lumora
