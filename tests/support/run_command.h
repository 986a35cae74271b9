// Runs the built vobreports command in a shell and captures what it prints, for end-to-end tests.
#pragma once

#include <sys/wait.h>
#include <cstdio>
#include <string>

namespace vob::testing {

struct CommandResult {
  int exit_code = -1;
  std::string output;  // stdout, and stderr when the command line redirects it
};

inline CommandResult RunCommand(const std::string& command_line) {
  CommandResult result;
  FILE* pipe = popen(command_line.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// The vobreports binary of this build, followed by a blank, ready for arguments.
inline std::string Vobreports() {
  return std::string(VOB_BINARY_DIR) + "/vobreports ";
}

}  // namespace vob::testing
