#pragma once

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
// unless an override maps it to a device path, such as a pseudo-terminal.
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
  void close() override;
  bool isOpen() const override;
  bool write(std::span<const std::uint8_t> bytes) override;
  void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }
  std::string deviceName(int portNo) const override;
  void setLostHandler(LostHandler handler) override { lost_ = std::move(handler); }
  bool assignDevice(int portNo, const std::string& device) override;

 private:
  QString devicePath(int portNo) const;
  void refreshSystemDevices() const;
  void reportOpenFailure(int portNo, const QString& device);
  void onError(QSerialPort::SerialPortError error);

  QSerialPort port_;
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
