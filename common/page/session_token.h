// session_token.h: picks the router's session token out of the hidden SESSION_ID input of a page.
//
// The token is kept in g_library.session_token for the command builder; the two flags there
// tell the page reader whether the current page delivered one.
#pragma once

namespace lumora {

// Length of the longest token kept; a longer one is cut to this many bytes.
inline constexpr int kSessionTokenLength = 32;

// Handles one "input" start tag. `attributes` is the scanner's list (name, value, ..., nullptr)
// and may be null. The list must begin type=hidden, id=SESSION_ID, name=SESSION_ID, value=token,
// in exactly that order; then the token (at most 32 bytes) replaces g_library.session_token and
// token_taken and page_had_token become 1. Does nothing while token_taken is already set, so the
// first matching input of a page wins. Runs on the thread that reads the page; does not lock.
void CaptureSessionToken(const char* const* attributes);

}  // namespace lumora
