// `vobreports view`: the local web viewer. Opens the browser on a launch file only this user can read, so
// that the token never shows on a command line, and prints the address with the token only where no other
// user can read it; serves until interrupted. A KEY given on the command line starts that run at once.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/commands.h"
#include "cli/run_options.h"
#include "cli/viewer/view_options.h"
#include "cli/viewer/viewer_server.h"

extern char** environ;

namespace vob::cli {
namespace {

// A page in a folder of its own, readable by this user only, that sends the browser on to the tokened
// address. Spent (removed) once the page was opened with the token, and removed when the server ends.
class LaunchFile {
 public:
  explicit LaunchFile(const std::string& url) {
    std::string folder = (std::filesystem::temp_directory_path() / "vobreports-launch-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) throw vob::Error("cannot create " + folder);
    folder_ = folder;
    path_ = folder_ / "open.html";
    const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const std::string page =
        "<!doctype html><meta charset=\"utf-8\"><meta name=\"referrer\" content=\"no-referrer\">"
        "<meta http-equiv=\"refresh\" content=\"0;url=" +
        url +
        "\"><title>vobreports</title>"
        "<a href=\"" +
        url + "\">Open the vobreports viewer</a>\n";
    const bool is_written =
        fd >= 0 && write(fd, page.data(), page.size()) == static_cast<ssize_t>(page.size());
    if (fd >= 0) close(fd);
    if (!is_written) {
      Remove();
      throw vob::Error("cannot write " + path_.string());
    }
  }
  ~LaunchFile() { Remove(); }
  LaunchFile(const LaunchFile&) = delete;
  LaunchFile& operator=(const LaunchFile&) = delete;

  void Remove() {
    std::lock_guard lock(mutex_);
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    folder_.clear();
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::mutex mutex_;
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

// True when what goes to standard output stays with this user: a terminal, pipe or socket of its own, or a
// file no other user may read.
bool IsOutputPrivate() {
  struct stat status {};
  if (fstat(STDOUT_FILENO, &status) != 0 || status.st_uid != geteuid()) return false;
  return S_ISSOCK(status.st_mode) || (status.st_mode & (S_IRGRP | S_IROTH)) == 0;
}

// xdg-open on the launch file, without a shell and with nothing of ours on its command line but the path.
void OpenBrowser(const std::filesystem::path& launch_file) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = "xdg-open", argument = launch_file.string();
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  const int error = posix_spawnp(&child, "xdg-open", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    std::cerr << "vobreports view: open " << argument << " in a browser\n";
    return;
  }
  std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

// Stop signals are taken by a thread of their own, which removes the launch file and the folders downloads
// are written in before the process ends by the signal as before. Blocked before any other thread starts, so
// that every thread inherits the mask and none ends the process on its own.
sigset_t BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, number);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

void EndOnStopSignals(sigset_t signals, LaunchFile& launch) {
  std::thread([signals, &launch] {
    int number = 0;
    sigwait(&signals, &number);
    launch.Remove();
    viewer::RemoveScratchFolders();
    signal(number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    raise(number);
  }).detach();
}

}  // namespace

void ServeViewer(const ViewOptions& options) {
  const sigset_t stop_signals = BlockStopSignals();
  PinRunClock(options.run);
  viewer::ViewerConfig config;
  config.listen_address = options.listen_address;
  config.port = options.port;
  config.memory_limit_bytes = options.memory_megabytes << 20;
  config.defaults = options.run;
  config.defaults.database = ConnectionStringFor(options.run.database);  // the demo database made once, here
  RunOptions first = config.defaults;
  std::unique_ptr<LaunchFile> launch;
  config.on_first_visit = [&launch] {
    if (launch) launch->Remove();
  };
  if (!options.run.key.empty()) FindBuiltReport(options.run.key);  // bad usage before anything starts
  viewer::ViewerServer server(std::move(config));
  server.Bind();
  std::string hash;
  if (!options.run.key.empty()) hash = "#run=" + std::to_string(server.runs().Start(std::move(first))->id());
  launch = std::make_unique<LaunchFile>(server.Url() + hash);
  EndOnStopSignals(stop_signals, *launch);
  if (IsOutputPrivate()) {
    std::cout << "vobreports view: serving at " << server.Url() << hash << "\n";
  } else {
    std::cout << "vobreports view: serving at " << server.BareUrl() << hash << "\n"
              << "(sign in by opening " << launch->path().string() << ", readable only by you)\n";
  }
  std::cout << "(Ctrl-C stops it)" << std::endl;
  if (options.opens_browser) OpenBrowser(launch->path());
  server.Listen();
}

}  // namespace vob::cli
