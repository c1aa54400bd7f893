// Starts rtceval-board as a process, talks to it through its pseudo-terminal as the program
// would, and stops it with SIGTERM. Every wait is bounded; exit status 0 means all checks held.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "pseudo_terminal.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kWaitMs = 3000;

int failures = 0;
pid_t child = -1;

void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

std::string hex(const Bytes& bytes) {
  std::string s;
  char buf[4];
  for (std::uint8_t b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", b);
    s += buf;
  }
  return s;
}

// Reads until `count` bytes have come or the wait is over.
Bytes readBytes(int fd, std::size_t count) {
  Bytes out;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (out.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    std::uint8_t buf[64];
    const ssize_t n = read(fd, buf, std::min(sizeof buf, count - out.size()));
    if (n <= 0) break;
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}

std::string readLine(int fd) {
  std::string line;
  for (;;) {
    const Bytes b = readBytes(fd, 1);
    if (b.empty() || b[0] == '\n') return line;
    line.push_back(static_cast<char>(b[0]));
  }
}

Bytes exchange(int fd, const Bytes& request, std::size_t replyBytes) {
  if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return {};
  return readBytes(fd, replyBytes);
}

std::int64_t msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

// Writes all of it, waiting while the reader is behind.
bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The most memory the process has held so far (Linux), in KiB.
std::optional<long> peakMemoryKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return std::nullopt;
}

// Sends the probe as the program's port search does, again every 200 ms, until the board answers
// it; whatever else the board sends meanwhile goes by. Returns whether it was answered.
bool probeUntilAnswered(int fd, std::chrono::steady_clock::time_point giveUp) {
  const Bytes probe{0x55, 0x00, 0x00, 0x55};
  const Bytes answer{0x55, 0x80, 0x00, 0xD5};
  while (std::chrono::steady_clock::now() < giveUp) {
    if (write(fd, probe.data(), probe.size()) != static_cast<ssize_t>(probe.size())) return false;
    const auto retry = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    Bytes seen;
    while (std::chrono::steady_clock::now() < retry) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0) continue;
      std::uint8_t buf[256];
      const ssize_t n = read(fd, buf, sizeof buf);
      if (n <= 0) return false;
      seen.insert(seen.end(), buf, buf + n);
      if (std::search(seen.begin(), seen.end(), answer.begin(), answer.end()) != seen.end())
        return true;
    }
  }
  return false;
}

bool waitForExit(int& status) {
  for (int i = 0; i < kWaitMs / 10; ++i) {
    if (waitpid(child, &status, WNOHANG) == child) return true;
    usleep(10'000);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PATH-TO-rtceval-board\n", argv[0]);
    return 2;
  }
  const std::string link =
      (std::filesystem::temp_directory_path() / ("rtceval-board-" + std::to_string(getpid())))
          .string();
  int out[2];
  int in[2];
  if (pipe(out) != 0 || pipe(in) != 0) return 2;
  child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(in[0], STDIN_FILENO);
    close(out[0]);
    close(in[1]);
    execl(argv[1], argv[1], "--model", "X1226", "--start", "2004-05-20 09:05:30", "--link",
          link.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  close(in[0]);

  const std::string path = readLine(out[0]);
  check(path.rfind("/dev/", 0) == 0, "first line names the terminal device: '" + path + "'");
  std::error_code ec;
  check(std::filesystem::read_symlink(link, ec) == path, "the link points at the terminal");

  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  check(fd >= 0 && rtceval::sim::makeRaw(fd), "the terminal opens in raw mode");
  if (fd >= 0) {
    const Bytes probe = exchange(fd, {0x55, 0x00, 0x00, 0x55}, 4);
    check(probe == Bytes{0x55, 0x80, 0x00, 0xD5}, "probe answered: " + hex(probe));

    const Bytes time = exchange(fd, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01}, 12);
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < time.size(); ++i)
      sum = static_cast<std::uint8_t>(sum + time[i]);
    const bool shape = time.size() == 12 && time[0] == 0x55 && time[1] == 0x80 && time[2] == 0x08 &&
                       time[11] == sum;
    check(shape, "time read answered with eight bytes: " + hex(time));
    if (shape) {
      check(time[3] >= 0x30 && time[3] <= 0x33, "seconds counted from the start time");
      check(Bytes(time.begin() + 4, time.begin() + 11) ==
                Bytes{0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20},
            "minute, 24-hour hour, date, month, year, weekday and century of the start time");
    }

    const std::string nulLine("battery on\0 now\n", 16);
    check(writeAll(in[1], nulLine), "control line with a NUL sent");
    check(readLine(out[0]) == "unknown command 'battery on\\x00 now'; try help",
          "the NUL is one byte of the line and the answer shows all of it");
    const Bytes srBefore = exchange(fd, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x3F, 0x01, 0x09}, 5);
    check(srBefore == Bytes{0x55, 0x80, 0x01, 0x01, 0xD7},
          "the line was not cut short at its NUL: " + hex(srBefore));

    // 16 MiB without a newline, then a command: the board holds one line's worth at most, looks
    // at each byte once, says once that the line was too long, and runs the next command.
    const std::optional<long> memoryBefore = peakMemoryKiB(child);
    const auto floodStart = std::chrono::steady_clock::now();
    check(writeAll(in[1], std::string(16 << 20, 'x') + "\nhelp\n"), "16 MiB line sent");
    check(readLine(out[0]) == "line longer than 4096 bytes: discarded up to its end",
          "the overlong line is reported once");
    check(readLine(out[0]) == "commands:", "the next command is answered");
    std::string last;
    while (last.find("this list") == std::string::npos && !(last = readLine(out[0])).empty()) {
    }
    const std::int64_t floodMs = msSince(floodStart);
    check(floodMs < kWaitMs, "the 16 MiB line took " + std::to_string(floodMs) + " ms");
    const std::optional<long> memoryAfter = peakMemoryKiB(child);
    if (memoryBefore && memoryAfter) {
      check(*memoryAfter - *memoryBefore < 4096,
            "peak memory grew by " + std::to_string(*memoryAfter - *memoryBefore) + " KiB");
    }

    const std::string command = "battery on\n";
    check(write(in[1], command.data(), command.size()) == static_cast<ssize_t>(command.size()),
          "control command sent");
    check(!readLine(out[0]).empty(), "control command answered");
    const Bytes sr = exchange(fd, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x3F, 0x01, 0x09}, 5);
    check(sr == Bytes{0x55, 0x80, 0x01, 0x81, 0x57}, "SR shows BAT and RTCF: " + hex(sr));

    // 20 000 random bytes at once, far faster than the line carries them: what the board's
    // receive FIFO cannot hold is lost, and a probe is answered once the board has resynchronised.
    std::mt19937 random(7);
    std::string garbage(20000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    check(writeAll(fd, garbage), "garbage burst sent");
    const auto burstEnd = std::chrono::steady_clock::now();
    const bool answered = probeUntilAnswered(fd, burstEnd + std::chrono::milliseconds(kWaitMs));
    const std::int64_t burstMs = msSince(burstEnd);
    check(answered && burstMs < 1000,
          "a probe after the garbage burst answered " + std::to_string(burstMs) + " ms after it");
    close(fd);
  }

  kill(child, SIGTERM);
  int status = 0;
  const bool exited = waitForExit(status);
  if (!exited) kill(child, SIGKILL), waitpid(child, &status, 0);
  check(exited && WIFEXITED(status) && WEXITSTATUS(status) == 0, "clean exit on SIGTERM");
  check(!std::filesystem::exists(std::filesystem::symlink_status(link)), "the link is removed");
  return failures == 0 ? 0 : 1;
}
