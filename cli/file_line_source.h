// file_line_source.h: a saved page read line by line, as the page reader reads a connection.
#pragma once

#include <cstdio>

#include "common/page/page_reader.h"

namespace quirnctl {

// Reads lines from an open file; does not own or close it. A read error gives -1, like a
// connection that failed.
class FileLineSource : public lumora::LineSource {
  public:
    explicit FileLineSource(std::FILE* file) : file_(file) {}
    int ReadLine(char* buffer) override;

  private:
    std::FILE* file_;
};

}  // namespace quirnctl
