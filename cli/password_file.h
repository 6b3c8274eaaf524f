// password_file.h: reads a password from a file, so that it never stands on a command line.
#pragma once

#include <string>

namespace quirnctl {

// The first line of the file at `path` ("-" reads standard input), without its line end.
// Throws UsageError when the file cannot be read, or the line holds a zero byte, is not UTF-8 or
// breaks the administrator-password rule (state/admin_password.h). The message names the file
// and the limits, never the password.
std::string ReadPasswordFile(const std::string& path);

}  // namespace quirnctl
