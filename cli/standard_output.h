// standard_output.h: standard output as plain bytes, for outputs whose format fixes "\n" as
// the line end.
#pragma once

namespace quirnctl {

// From now on, standard output gets "\n" as it is: Windows' C library would otherwise write
// "\r\n", which the Prometheus text format does not allow. Does nothing where no line ends are
// translated. Implemented under platform/.
void UseBinaryStandardOutput();

}  // namespace quirnctl
