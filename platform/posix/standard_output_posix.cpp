// standard_output_posix.cpp: POSIX writes standard output as it is; nothing to change.
#include "cli/standard_output.h"

namespace quirnctl {

void UseBinaryStandardOutput() {}

}  // namespace quirnctl
