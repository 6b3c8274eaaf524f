// page_reader.h: reads a router page line by line into the current RouterStatus.
//
// The reader works over any LineSource, so the same path serves a socket during a fetch and a
// saved page in quirnctl and the tests. A fetch of the status page is, around the network part:
//
//     RouterStatus record;                        // the fetch's own record
//     BeginPage(record);
//     RouterResult result = ...;                  // status line checks, then ReadPageBody
//     result = FinishPage(result, caller_output); // validate, token check, copy out on success
//
// All of it uses the library's single-instance state (g_library), so the caller must hold the
// busy counter around the whole sequence. Nothing on the line path allocates.
#pragma once

#include "common/router_result.h"
#include "common/router_status.h"

namespace lumora {

// Size of the line buffer every LineSource fills (read_line's buffer).
inline constexpr int kLineBufferSize = 4096;
// The longest line one read stores; a longer line continues in the next read.
inline constexpr int kMaxLineBytes = 4094;

// Where the reader's lines come from.
class LineSource {
  public:
    virtual ~LineSource() = default;
    // Stores the next line into `buffer` (kLineBufferSize bytes): at most kMaxLineBytes bytes,
    // ending at and including the first "\n" if there is one, then a terminating zero byte.
    // Returns the number of bytes stored, 0 when the source has ended (peer closed), or -1 on
    // an error (socket error or time-out).
    virtual int ReadLine(char* buffer) = 0;
};

// A LineSource over bytes in memory (a saved page, a test's text). Does not copy the bytes;
// they must outlive the source. Embedded zero bytes are delivered like any other byte.
class MemoryLineSource : public LineSource {
  public:
    MemoryLineSource(const char* data, long long size) : data_(data), size_(size) {}
    int ReadLine(char* buffer) override;

  private:
    const char* data_;
    long long size_;
    long long position_ = 0;
};

// Reads the rest of a page. `line_buffer` (kLineBufferSize bytes) holds the first line already
// read (a response's status line); further lines come from `source`. Resets the markup scanner
// with the status-page handlers, converts every line from EUC-JP to UTF-8 and scans it, and
// stops when a line contains "</body>" or "</BODY>" or the source ends. Returns kSuccess,
// kReceiveFailed (source error), kPageNotUnderstood (conversion or scanner failure), and
// kAuthRefused whenever the page turned out to be the initial-password page.
// Requires a current record (BeginPage). Failures are logged with their error numbers.
RouterResult ReadPageBody(char* line_buffer, LineSource& source);

// Checks the current record's ranges; on success sets its limit_reach from limit_reach_text.
// Returns 0, or -1 after logging the error number of the first range that failed.
int ValidateRouterStatus();

// Reads the leading decimal number of a value text ("45%" gives 45.0, "17.9%" 17.9); 0.0 when
// the text has no leading number and -1.0 when it is empty. Independent of the locale.
float ReadLimitReach(const char* text);

// Prepares the library state for a new page: clears the token flags and the recognised
// connection code, sets the page-valid flag, resets `record` to a fresh record and makes it the
// current record. `record` must stay alive until FinishPage.
void BeginPage(RouterStatus& record);

// Ends a page read that gave `result`: on kSuccess validates the current record (failure:
// kPageNotUnderstood) and requires that the page delivered a session token (else
// kPageNotUnderstood). Releases the current record. Copies the record to `output` only when the
// returned result is kSuccess; otherwise `output` is untouched.
RouterResult FinishPage(RouterResult result, RouterStatus& output);

// Interprets a whole page from `source` as a fetch of the status page would, from its first
// line on: BeginPage, ReadPageBody, FinishPage. For saved pages (quirnctl parse) and tests;
// the caller holds the busy counter if other threads may use the library.
RouterResult InterpretPage(LineSource& source, RouterStatus& output);

}  // namespace lumora
