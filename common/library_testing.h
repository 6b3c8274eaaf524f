// library_testing.h: the library's own operations for tests, fuzz targets and benchmarks.
//
// They read and set the process-wide state field by field, so that a test can start from a
// known state and check what a page or an exchange left behind. Programs use library.h.
#pragma once

#include <span>

#include "common/library.h"

namespace lumora {

class MarkupScanner;
struct RouterStatus;

namespace library_testing {

// The state of a fresh process as far as pages go: no token and no token flags, no status
// record, page valid, no recognised connection. The diagnostic stream and last error stay.
void ResetLibraryState();

// The session token: the null-terminated text and every byte of its buffer.
const char* SessionToken();
std::span<const char> SessionTokenBytes();
// Clears the whole buffer, then copies at most its capacity less one byte of `token`.
void SetSessionToken(const char* token);

// The two token flags: taken blocks a second token on the page; had means the page delivered one.
int TokenTaken();
int PageHadToken();
void SetTokenTaken(int taken);
void SetPageHadToken(int page_had);

int BusyCount();
std::FILE* CurrentDiagnosticStream();  // nullptr while no stream was chosen
void SetLastLibraryError(int number);

// The page being read: the status record the handlers fill, and the flags they keep.
RouterStatus* CurrentStatus();
void SetCurrentStatus(RouterStatus* status);
int PageValid();
int RecognisedConnectionCode();
void SetRecognisedConnectionCode(int code);
const char* PageHeading();
MarkupScanner& PageScanner();

}  // namespace library_testing
}  // namespace lumora
