// library.h: what callers outside the library may ask of or tell its process-wide state.
//
// The state itself (library_state.h) is the library's own; these few operations are all a
// program needs of it.
#pragma once

#include <cstdio>

namespace lumora {

// Sends the diagnostic lines to `stream` from now on; nullptr returns them to standard output.
void SetDiagnosticStream(std::FILE* stream);

// The number most recently passed to the library's error log; 0 until the first error.
int LastLibraryError();

// True once some page has delivered a session token that the commands can carry.
bool HoldsSessionToken();

}  // namespace lumora
