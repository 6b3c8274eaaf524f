#include "common/diagnostics.h"

#include <cstdarg>

#include "common/library_state.h"

namespace lumora {

std::FILE* DiagnosticStream() {
    if (g_library.diagnostic_stream == nullptr) {
        g_library.diagnostic_stream = stdout;
    }
    return g_library.diagnostic_stream;
}

void LogText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vfprintf(DiagnosticStream(), format, args);
    va_end(args);
    std::fflush(DiagnosticStream());
}

void LogLibraryError(int number, int line) {
    g_library.last_error = number;
    LogText("QuirnWiMAXTools %s(%d) VOP_errno=%d\n", ".\\common\\lumora_common", line, number);
}

}  // namespace lumora
