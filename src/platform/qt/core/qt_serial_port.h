#pragma once

#include <array>
#include <functional>
#include <map>
#include <utility>

#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "platform/serial_port.h"

namespace rtceval::qt {

// Orders the system's serial devices the way ports 1 to 4 are numbered: USB adapters
// (ttyUSB, then ttyACM) first, then built-in ttyS ports, then anything else; within one kind by
// the number in the name (ttyUSB2 before ttyUSB10).
QStringList orderSerialDevices(QStringList devices);

// Why `device` could not be opened as the board's serial line, in the words of the one line
// printed about it ("no such device", "is a directory", "not a terminal", "permission denied
// ...", "device is busy ..."). `error` and `errorText` are what QSerialPort reported; on Unix the
// device file itself is looked at, since Qt reports several of these alike.
QString describeOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                            const QString& errorText);

// The serial line over QSerialPort. Port n is the n-th device the system lists (COMn on Windows)
// unless an override maps it to a device path, such as a pseudo-terminal. It holds two lines, one
// in use and one spare, so that a switch opens the new device before it lets go of the old one.
class QtSerialPort : public SerialPort {
 public:
  using PortOverrides = std::map<int, QString>;
  // Receives one line the first time a port's device cannot be opened for a reason, and again
  // only when the device or the reason changes; the board search retries ports every few ticks.
  using WarningSink = std::function<void(const QString& line)>;

  QtSerialPort(PortOverrides overrides, WarningSink warn);
  ~QtSerialPort() override;
  QtSerialPort(const QtSerialPort&) = delete;
  QtSerialPort& operator=(const QtSerialPort&) = delete;

  bool open(int portNo) override;
  bool switchTo(int portNo) override;
  void close() override;
  bool isOpen() const override;
  bool write(std::span<const std::uint8_t> bytes) override;
  void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }
  std::string deviceName(int portNo) const override;
  void setLostHandler(LostHandler handler) override { lost_ = std::move(handler); }
  bool assignDevice(int portNo, const std::string& device) override;

 private:
  QString devicePath(int portNo) const;
  // The device behind `portNo`, listing the system's devices afresh when it has none; "" when
  // there is none even then.
  QString findDevice(int portNo);
  void refreshSystemDevices() const;
  // Opens `line` on `device` with the board's line settings.
  bool openLine(QSerialPort& line, int portNo, const QString& device);
  void reportOpenFailure(const QSerialPort& line, int portNo, const QString& device);
  void onError(QSerialPort& line, QSerialPort::SerialPortError error);
  QSerialPort& line() { return lines_.at(active_); }
  const QSerialPort& line() const { return lines_.at(active_); }
  QSerialPort& spare() { return lines_.at(1 - active_); }

  std::array<QSerialPort, 2> lines_;
  std::size_t active_ = 0;
  // The device the line in use was opened on, as the system names it.
  QString openName_;
  PortOverrides overrides_;
  WarningSink warn_;
  ReceiveHandler handler_;
  LostHandler lost_;
  mutable QStringList systemDevices_;
  mutable bool listed_ = false;
  // The device and the reason last reported for each port.
  std::map<int, std::pair<QString, QString>> warned_;
};

}  // namespace rtceval::qt
