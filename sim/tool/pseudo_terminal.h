#pragma once

#include <optional>
#include <string>

namespace rtceval::sim {

// A pseudo-terminal in raw mode whose slave side the program under test opens as its serial
// port. The board holds a slave descriptor of its own, so that the master side stays usable
// (no hang-up, no EIO) while no program has the port open.
class PseudoTerminal {
 public:
  static std::optional<PseudoTerminal> create(std::string& error);

  PseudoTerminal(PseudoTerminal&& other) noexcept;
  PseudoTerminal& operator=(PseudoTerminal&&) = delete;
  PseudoTerminal(const PseudoTerminal&) = delete;
  ~PseudoTerminal();

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

 private:
  PseudoTerminal(int master, int slave, std::string path)
      : master_(master), slave_(slave), slavePath_(std::move(path)) {}

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Puts a terminal descriptor into raw mode at 19200 baud, 8 data bits, no parity, 1 stop bit.
bool makeRaw(int fd);

}  // namespace rtceval::sim
