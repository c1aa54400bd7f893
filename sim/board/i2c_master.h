#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/chip/i2c_target.h"

namespace rtceval::sim {

// The board's I2C master at 100 kHz: one byte with its acknowledge takes nine clocks.
constexpr std::chrono::microseconds kI2cByteTime{90};
constexpr std::chrono::microseconds kI2cConditionTime{5};  // START, repeated START or STOP

struct I2cResult {
  bool acknowledged = true;  // false: the device refused its address or a byte
  std::vector<std::uint8_t> data;
  std::chrono::microseconds busTime{0};
};

// The register address goes out as two bytes, high first, unless the high byte is 0xFF: then the
// device takes one address byte and only the low byte is sent.
//
// Write: START, device address (write), address bytes, data, STOP.
I2cResult i2cWrite(I2cTarget& target, std::uint8_t device, std::uint8_t addressHigh,
                   std::uint8_t addressLow, std::span<const std::uint8_t> data);

// Read: START, device address (write), address bytes, repeated START, device address (read),
// `count` reads, STOP.
I2cResult i2cRead(I2cTarget& target, std::uint8_t device, std::uint8_t addressHigh,
                  std::uint8_t addressLow, std::size_t count);

}  // namespace rtceval::sim
