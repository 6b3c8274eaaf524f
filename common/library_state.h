// library_state.h: the router library's process-wide state, gathered in one place.
//
// The library is single-instance by design: every top-level exchange takes the busy counter
// (see busy_counter.h) before it touches anything else here, so only one thread at a time reads
// or writes these fields and none of them needs a lock of its own.
#pragma once

#include <atomic>
#include <cstdio>

#include "common/page/markup_scanner.h"
#include "common/router_status.h"
#include "common/page/status_page_state.h"

namespace lumora {

struct LibraryState {
    // Serialises whole router exchanges; test-and-increment is one atomic step.
    std::atomic<int> busy_counter{0};

    // Diagnostics: standard output, chosen on first use; nothing reads the lines back. Both are
    // also written outside the busy counter (before an exchange takes it, and on a refused
    // command), so they are atomic rather than guarded by it.
    std::atomic<std::FILE*> diagnostic_stream{nullptr};
    std::atomic<int> last_error{0};  // the number most recently passed to LogLibraryError

    // The page being read: the record the handlers fill and the flags they keep.
    RouterStatus* current_status = nullptr;
    int page_valid = 1;                  // cleared by the initial-password page
    int recognised_connection_code = 0;  // copied from the connection item; 0 when none
    StatusPageState page_parse;          // the status-page handlers' item, text mode, heading

    // Tokenizes the page being read; reset before every page.
    MarkupScanner scanner;

    // Session token of the last page that carried one; survives between pages.
    char session_token[33] = {};
    int token_taken = 0;     // a token was taken from the current page; blocks a second one
    int page_had_token = 0;  // the current page delivered a token
};

extern LibraryState g_library;

}  // namespace lumora
