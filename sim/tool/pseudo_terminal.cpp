#include "pseudo_terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace rtceval::sim {

bool makeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  cfsetispeed(&tio, B19200);
  cfsetospeed(&tio, B19200);
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

std::optional<PseudoTerminal> PseudoTerminal::create(std::string& error) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return std::nullopt;
  }
  const char* name = nullptr;
  if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr) {
    error = std::string("preparing the pseudo-terminal: ") + std::strerror(errno);
    ::close(master);
    return std::nullopt;
  }
  std::string path = name;
  const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0 || !makeRaw(slave)) {
    error = "opening " + path + ": " + std::strerror(errno);
    if (slave >= 0) ::close(slave);
    ::close(master);
    return std::nullopt;
  }
  const int flags = fcntl(master, F_GETFL);
  fcntl(master, F_SETFL, flags | O_NONBLOCK);
  return PseudoTerminal(master, slave, std::move(path));
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : master_(other.master_), slave_(other.slave_), slavePath_(std::move(other.slavePath_)) {
  other.master_ = -1;
  other.slave_ = -1;
}

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

}  // namespace rtceval::sim
