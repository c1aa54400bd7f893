#include "sim/board/i2c_master.h"

#include "sim/board/board_protocol.h"

namespace rtceval::sim {

namespace {

// Keeps the bus time while a transaction runs and ends it with STOP whatever happens.
class Transaction {
 public:
  explicit Transaction(I2cTarget& target) : target_(target) {}

  bool start(std::uint8_t device, bool read) {
    result_.busTime += kI2cConditionTime + kI2cByteTime;
    return target_.start(device, read);
  }
  bool write(std::uint8_t byte) {
    result_.busTime += kI2cByteTime;
    return target_.writeByte(byte);
  }
  void read() {
    result_.busTime += kI2cByteTime;
    result_.data.push_back(target_.readByte());
  }
  bool sendAddress(std::uint8_t high, std::uint8_t low) {
    if (high != kShortAddressMark && !write(high)) return false;
    return write(low);
  }
  I2cResult finish(bool acknowledged) {
    result_.busTime += kI2cConditionTime;
    target_.stop();
    result_.acknowledged = acknowledged;
    if (!acknowledged) result_.data.clear();
    return std::move(result_);
  }

 private:
  I2cTarget& target_;
  I2cResult result_;
};

}  // namespace

I2cResult i2cWrite(I2cTarget& target, std::uint8_t device, std::uint8_t addressHigh,
                   std::uint8_t addressLow, std::span<const std::uint8_t> data) {
  Transaction t(target);
  if (!t.start(device, false) || !t.sendAddress(addressHigh, addressLow)) return t.finish(false);
  for (std::uint8_t b : data) {
    if (!t.write(b)) return t.finish(false);
  }
  return t.finish(true);
}

I2cResult i2cRead(I2cTarget& target, std::uint8_t device, std::uint8_t addressHigh,
                  std::uint8_t addressLow, std::size_t count) {
  Transaction t(target);
  if (!t.start(device, false) || !t.sendAddress(addressHigh, addressLow)) return t.finish(false);
  if (!t.start(device, true)) return t.finish(false);
  for (std::size_t i = 0; i < count; ++i) t.read();
  return t.finish(true);
}

}  // namespace rtceval::sim
