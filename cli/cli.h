// vkt410-cli: the command-line tool over the radio data core.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vkt::cli {

// Exit codes (sysexits).
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitDataErr = 65;   // the input is not what the verb reads (a file that is no channel list)
inline constexpr int kExitNoInput = 66;
inline constexpr int kExitCantCreate = 73;

inline constexpr int kExitCommunicationFalse = 1;
inline constexpr int kExitPasswordError = 2;

// Runs one command line (without the program name); messages go to `out`
// and `err`. `terminal` says that `out` is a terminal, where a read or a
// write shows a progress bar. Returns the exit code.
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool terminal = false);

} // namespace vkt::cli
