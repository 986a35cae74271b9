// `vobreports view` in the command: hands its command line over to the viewer program, the same command
// linked with the HTTP server (cpp-httplib, and the TLS libraries it brings), so that every other command
// starts without loading and binding those. The viewer program takes the same process, its signals and
// output.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/viewer/view_options.h"
#include "platform/error.h"

namespace vob::cli {
namespace {

// Beside the command in a build folder; where the install put it otherwise.
std::vector<std::filesystem::path> ViewerPrograms() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return {self.parent_path() / "vobreports-viewer",
          (self.parent_path() / VOB_VIEWER_FROM_BINDIR / "vobreports-viewer").lexically_normal()};
}

// The arguments exactly as this process got them, whatever bytes they hold.
std::vector<std::string> OwnArguments() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\0', start);
    if (end == std::string::npos) end = text.size();
    arguments.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

}  // namespace

void ServeViewer(const ViewOptions&) {
  std::vector<std::string> arguments = OwnArguments();
  if (arguments.empty()) throw Error("view: cannot read this command's arguments from /proc/self/cmdline");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::string failures;
  for (const std::filesystem::path& program : ViewerPrograms()) {
    execv(program.c_str(), argv.data());  // returns only when it failed
    failures += (failures.empty() ? "" : ", ") + program.string() + ": " + std::strerror(errno);
  }
  throw Error("view: cannot start the viewer program (" + failures + ")");
}

}  // namespace vob::cli
