#include "common/library_state.h"

#include <algorithm>
#include <cstring>

#include "common/library.h"
#include "common/library_testing.h"

namespace lumora {

LibraryState g_library;

void SetDiagnosticStream(std::FILE* stream) { g_library.diagnostic_stream = stream; }
int LastLibraryError() { return g_library.last_error; }
bool HoldsSessionToken() { return g_library.session_token[0] != '\0'; }

namespace library_testing {

void ResetLibraryState() {
    std::fill(std::begin(g_library.session_token), std::end(g_library.session_token), '\0');
    g_library.token_taken = 0;
    g_library.page_had_token = 0;
    g_library.page_valid = 1;
    g_library.recognised_connection_code = 0;
    g_library.current_status = nullptr;
}

const char* SessionToken() { return g_library.session_token; }
std::span<const char> SessionTokenBytes() { return g_library.session_token; }

void SetSessionToken(const char* token) {
    std::memset(g_library.session_token, 0, sizeof g_library.session_token);
    std::strncpy(g_library.session_token, token, sizeof g_library.session_token - 1);
}

int TokenTaken() { return g_library.token_taken; }
int PageHadToken() { return g_library.page_had_token; }
void SetTokenTaken(int taken) { g_library.token_taken = taken; }
void SetPageHadToken(int page_had) { g_library.page_had_token = page_had; }

int BusyCount() { return g_library.busy_counter.load(); }
std::FILE* CurrentDiagnosticStream() { return g_library.diagnostic_stream; }
void SetLastLibraryError(int number) { g_library.last_error = number; }

RouterStatus* CurrentStatus() { return g_library.current_status; }
void SetCurrentStatus(RouterStatus* status) { g_library.current_status = status; }
int PageValid() { return g_library.page_valid; }
int RecognisedConnectionCode() { return g_library.recognised_connection_code; }
void SetRecognisedConnectionCode(int code) { g_library.recognised_connection_code = code; }
const char* PageHeading() { return g_library.page_parse.heading; }
MarkupScanner& PageScanner() { return g_library.scanner; }

}  // namespace library_testing
}  // namespace lumora
