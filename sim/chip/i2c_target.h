#pragma once

#include <cstdint>

namespace rtceval::sim {

// A device on the board's I2C bus, seen from the bus master one bus event at a time. Device
// addresses are the 7-bit ones the requests carry (0x6F, 0x57); the read/write bit travels apart.
class I2cTarget {
 public:
  virtual ~I2cTarget() = default;

  // START (or repeated START) and the address byte; true when the device acknowledges it.
  virtual bool start(std::uint8_t device, bool read) = 0;
  // One byte from the master; true when the device acknowledges it.
  virtual bool writeByte(std::uint8_t byte) = 0;
  // One byte to the master.
  virtual std::uint8_t readByte() = 0;
  virtual void stop() = 0;

  // The moment, in ms of the board's clock, at which the next bus events happen; devices that
  // keep time catch up to it.
  virtual void advanceTo(std::int64_t nowMs) = 0;
};

}  // namespace rtceval::sim
