// Starts rtceval-board as a process, talks to it through its pseudo-terminal as the program
// would, and stops it with SIGTERM. Every wait is bounded; exit status 0 means all checks held.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
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

    const std::string command = "battery on\n";
    check(write(in[1], command.data(), command.size()) == static_cast<ssize_t>(command.size()),
          "control command sent");
    check(!readLine(out[0]).empty(), "control command answered");
    const Bytes sr = exchange(fd, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x3F, 0x01, 0x09}, 5);
    check(sr == Bytes{0x55, 0x80, 0x01, 0x81, 0x57}, "SR shows BAT and RTCF: " + hex(sr));
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
