// Start-up time to the first painted frame and peak memory of the launcher (with its web view,
// loading a page from a closed port of 127.0.0.1), against a minimal Qt Widgets window built the
// same way. Every iteration starts the probe program afresh; it needs a display.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kProbeTimeoutMs = 60000;
constexpr double kKiBPerMiB = 1024.0;

// Peak resident set size (VmHWM) of a process in KiB; 0 once it is gone.
long PeakKiB(pid_t Pid) {
  std::ifstream status("/proc/" + std::to_string(Pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

// The process and every process below it, e.g. the web engine's helper processes.
std::vector<pid_t> ProcessTree(pid_t Root) {
  std::multimap<pid_t, pid_t> children;
  DIR* proc = opendir("/proc");
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const size_t afterName = text.rfind(')');
    if (afterName == std::string::npos) continue;
    std::istringstream fields(text.substr(afterName + 2));
    char state;
    pid_t parent;
    if (fields >> state >> parent) children.emplace(parent, pid);
  }
  closedir(proc);
  std::vector<pid_t> tree{Root};
  for (size_t i = 0; i < tree.size(); ++i)
    for (auto [it, end] = children.equal_range(tree[i]); it != end; ++it) tree.push_back(it->second);
  return tree;
}

// An address on 127.0.0.1 where nothing listens.
std::string ClosedLocalAddress() {
  const int server = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(server, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);
  close(server);
  return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

struct TProbeRun {
  double SecondsToPaint = 0;
  double ProcessPeakMiB = 0;  // the probe process alone
  double TreePeakMiB = 0;     // summed over the probe and its helper processes
};

// Reads the next line of the probe's output; empty on timeout or end.
std::string NextLine(int Fd, std::string& Buffer) {
  for (;;) {
    if (const size_t end = Buffer.find('\n'); end != std::string::npos) {
      std::string line = Buffer.substr(0, end);
      Buffer.erase(0, end + 1);
      return line;
    }
    pollfd wait{Fd, POLLIN, 0};
    char chunk[256];
    if (poll(&wait, 1, kProbeTimeoutMs) <= 0) return {};
    const ssize_t got = read(Fd, chunk, sizeof chunk);
    if (got <= 0) return {};
    Buffer.append(chunk, static_cast<size_t>(got));
  }
}

std::optional<TProbeRun> RunProbe(const char* Probe, const std::string& Argument) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  std::string probe = Probe, argument = Argument;
  char* argv[] = {probe.data(), argument.data(), nullptr};

  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  const bool spawned = posix_spawn(&pid, Probe, &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (!spawned) {
    close(out[0]);
    return std::nullopt;
  }
  TProbeRun run;
  std::string buffer;
  bool painted = false, settled = false;
  for (std::string line; !(painted && settled) && !(line = NextLine(out[0], buffer)).empty();) {
    if (line == "painted") {
      run.SecondsToPaint = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      painted = true;
    }
    settled = settled || line == "settled";
  }
  if (painted && settled) {
    for (const pid_t process : ProcessTree(pid)) run.TreePeakMiB += PeakKiB(process) / kKiBPerMiB;
    run.ProcessPeakMiB = PeakKiB(pid) / kKiBPerMiB;
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  close(out[0]);
  if (!painted || !settled) return std::nullopt;
  return run;
}

void BM_StartUpToFirstPaint(benchmark::State& State, const char* Probe) {
  const std::string address = ClosedLocalAddress();
  double processPeak = 0, treePeak = 0;
  for (auto _ : State) {
    const std::optional<TProbeRun> run = RunProbe(Probe, address);
    if (!run) {
      State.SkipWithError("the probe did not paint and settle (is there a display?)");
      return;
    }
    State.SetIterationTime(run->SecondsToPaint);
    processPeak = std::max(processPeak, run->ProcessPeakMiB);
    treePeak = std::max(treePeak, run->TreePeakMiB);
  }
  State.counters["process_peak_MiB"] = processPeak;
  State.counters["tree_peak_MiB"] = treePeak;
}

}  // namespace

BENCHMARK_CAPTURE(BM_StartUpToFirstPaint, minimal_window, PROBE_MINIMAL_WINDOW)
    ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToFirstPaint, launcher, PROBE_LAUNCHER)
    ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
