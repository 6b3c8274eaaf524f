// http_exchange.h: page fetches from the router (or the maker's host) over one connection each.
//
// Every operation here returns a RouterResult and logs its failures on the diagnostic stream;
// none shows anything to a user. They use the library's single-instance state: GetRouterInfo
// takes the busy counter itself, the others expect their caller to hold it.
#pragma once

#include "common/router_result.h"
#include "common/router_status.h"

namespace lumora {

// What ParseStatusCode gives for a line without "HTTP", and for one without a code after it.
inline constexpr int kNoHttp = -2;
inline constexpr int kNoStatusCode = -1;

// The status code of a response's first line: "HTTP" anywhere in `line`, then the first blank
// after it, blanks, and the decimal digits there. kNoHttp or kNoStatusCode when absent.
int ParseStatusCode(const char* line);

// Fetches page `page_index` from `host` (nullptr: the router's local host name) with the given
// credentials (nullptr: none). Checks the status line: 200 reads the page into the current
// record with ReadPageBody (except the connection-check page, whose body is not read), 401 gives
// kAuthRefused, anything else kUnexpectedResponse. The caller holds the busy counter and has
// made a record current for pages that are read.
RouterResult http_getinfo(const char* password, const char* host, int page_index, const char* user);

// One status fetch: waits for and takes the busy counter, prepares a fresh record, fetches the
// page and checks it (ranges valid, a session token present). On kSuccess `output` holds the
// record; otherwise it is untouched.
RouterResult GetRouterInfo(int page_index, const char* host, const char* user, const char* password,
                           RouterStatus& output);

}  // namespace lumora
