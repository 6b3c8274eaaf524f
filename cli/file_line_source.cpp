// file_line_source.cpp: one line of a file per call, within the reader's line limit.
#include "cli/file_line_source.h"

namespace quirnctl {

int FileLineSource::ReadLine(char* buffer) {
    int count = 0;
    while (count < lumora::kMaxLineBytes) {
        int byte = std::getc(file_);
        if (byte == EOF) {
            break;
        }
        buffer[count++] = static_cast<char>(byte);
        if (byte == '\n') {
            break;
        }
    }
    buffer[count] = '\0';
    return std::ferror(file_) ? -1 : count;
}

}  // namespace quirnctl
