#pragma once
// Runs an action in a forked child process and reports what it cost there: the growth of the
// child's peak resident memory (VmHWM against the resident memory it started with), the
// processor time it took (user and system: unlike the time on the clock, hardly longer on a
// machine busy with other tests) and the time on the clock, with the action's outcome. The child starts with its own high-water mark, and
// gives the free heap it inherits back first, so that the action cannot hide its allocations
// in pages the parent had already made resident.
//
// Under AddressSanitizer the allocator's own overhead makes the figures meaningless: budgetMeasured
// is false there and callers check only the outcome.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace tovakin::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool budgetMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool budgetMeasured = false;
#else
inline constexpr bool budgetMeasured = true;
#endif
#else
inline constexpr bool budgetMeasured = true;
#endif

struct ChildCost {
  bool finished = false;      // the child reported back (it did not crash)
  std::string outcome;        // what the action returned
  long long peakGrowthKiB = 0;
  double cpuSeconds = 0;
  double seconds = 0;
};

namespace detail {
inline double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline long long statusKiB(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(in, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) return std::stoll(line.substr(prefix.size()));
  }
  return -1;
}
}  // namespace detail

// `action` runs in the child; what it returns (a short text, one line) comes back as outcome.
inline ChildCost costInChild(const std::function<std::string()>& action) {
  ChildCost cost;
  int fds[2];
  if (pipe(fds) != 0) return cost;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return cost;
  if (pid == 0) {
    close(fds[0]);
    if (budgetMeasured) malloc_trim(0);
    {
      std::ofstream reset("/proc/self/clear_refs");
      reset << "5";  // peak := current; a fresh child has its own peak anyway
    }
    const long long start = detail::statusKiB("VmRSS");
    const double cpu0 = detail::cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::string outcome;
    try {
      outcome = action();
    } catch (const std::exception& e) {
      outcome = std::string("exception: ") + e.what();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = detail::cpuSeconds() - cpu0;
    const long long peak = detail::statusKiB("VmHWM");
    const std::string report =
        std::to_string(peak - start) + " " + std::to_string(cpu) + " " + std::to_string(seconds) + " " + outcome;
    const char* p = report.data();
    std::size_t left = report.size();
    while (left > 0) {
      const ssize_t n = write(fds[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    close(fds[1]);
    _exit(0);
  }
  close(fds[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.empty()) return cost;
  const auto first = report.find(' ');
  const auto second = first == std::string::npos ? first : report.find(' ', first + 1);
  const auto third = second == std::string::npos ? second : report.find(' ', second + 1);
  if (third == std::string::npos) return cost;
  cost.finished = true;
  cost.peakGrowthKiB = std::stoll(report.substr(0, first));
  cost.cpuSeconds = std::stod(report.substr(first + 1, second - first - 1));
  cost.seconds = std::stod(report.substr(second + 1, third - second - 1));
  cost.outcome = report.substr(third + 1);
  return cost;
}

}  // namespace tovakin::testing
