// libxml2_baseline.h: the page read the way a developer would first write it, with a general
// HTML parser: libxml2 builds the document tree from the EUC-JP bytes, and a walk over the tree
// picks out the same items with the same value rules. Only the benchmarks use it.
#pragma once

#include <string>

#include "common/router_status.h"

namespace quirn::bench {

struct BaselineResult {
    lumora::RouterStatus status;  // the items, as the library's value rules read them
    std::string token;            // the first SESSION_ID input's value
    bool initial_password_page = false;
};

// Parses `size` bytes of page and fills `result`; false when libxml2 made no document.
bool ReadPageWithLibxml2(const char* data, int size, BaselineResult& result);

}  // namespace quirn::bench
