// standard_output_win32.cpp: standard output in binary mode, so "\n" stays "\n".
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "cli/standard_output.h"

namespace quirnctl {

void UseBinaryStandardOutput() {
    std::fflush(stdout);  // what was written in text mode goes out as text
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace quirnctl
