#include "common/library_state.h"

namespace lumora {

LibraryState g_library;

}  // namespace lumora
