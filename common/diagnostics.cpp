#include "common/diagnostics.h"

#include <cstdarg>

#include "common/library_state.h"

namespace lumora {

std::FILE* DiagnosticStream() {
    std::FILE* stream = g_library.diagnostic_stream.load();
    if (stream == nullptr) {
        // The first caller's choice stands; a racing one finds it in `stream`.
        if (g_library.diagnostic_stream.compare_exchange_strong(stream, stdout)) {
            stream = stdout;
        }
    }
    return stream;
}

void LogText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::FILE* stream = DiagnosticStream();
    std::vfprintf(stream, format, args);
    va_end(args);
    std::fflush(stream);
}

void LogLibraryError(int number, int line) {
    g_library.last_error = number;
    LogText("QuirnWiMAXTools %s(%d) VOP_errno=%d\n", ".\\common\\lumora_common", line, number);
}

}  // namespace lumora
