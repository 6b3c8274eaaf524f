// diagnostics.h: the library's diagnostic lines on standard output.
//
// Nothing reads these lines back; they exist for a person watching a console. No password,
// credential or session token is ever written here.
#pragma once

#include <cstdio>

#include "common/printf_format.h"

namespace lumora {

// Chooses standard output as the diagnostic stream if no choice was made yet.
std::FILE* DiagnosticStream();

// Writes the caller's formatted text to the diagnostic stream.
void LogText(const char* format, ...) QUIRN_PRINTF_FORMAT(1, 2);

// Records `number` as the last error and writes the library's error line; `line` is the
// source line of the reporting statement (pass __LINE__).
void LogLibraryError(int number, int line);

}  // namespace lumora
