// watch_io.h: how a command that runs until it is stopped (watch) waits, writes and ends: the
// parts that differ between POSIX and Windows. Implemented under platform/.
#pragma once

#include <chrono>
#include <string_view>

namespace quirnctl {

// From now on a stop ends the process at once, also in the middle of a poll that would
// otherwise wait for its time-out: Ctrl-C (SIGINT), SIGTERM and a closed terminal (SIGHUP) on
// POSIX, where the process ends by the signal (a shell reports 128 + its number, e.g. 130 for
// Ctrl-C, 143 for SIGTERM); Ctrl-C, Ctrl-Break, closing the console, log-off and shut-down on
// Windows, where the exit status is 130 (Ctrl-C, Ctrl-Break) or 143. A signal that the starting
// process ignores stays ignored (a shell's background job, nohup). Nothing is left to undo:
// output is written whole (WriteWhole) and the router sees a closed connection.
void EndProcessOnStopSignals();

// Writes `text` to standard output and flushes it. A stop that comes meanwhile waits until the
// text is out, unless the output takes nothing more (a reader that stopped reading; on Windows
// for a second), which ends the process at once. False when the output cannot be written.
bool WriteWhole(std::string_view text);

// Returns at `due`; or earlier with false when standard output is a pipe whose reader has gone
// (`quirnctl watch --changes | grep -m1 ...` found its line), so the watch ends without asking
// the router again. Where this cannot be seen, simply waits.
bool WaitWhileOutputIsRead(std::chrono::steady_clock::time_point due);

}  // namespace quirnctl
