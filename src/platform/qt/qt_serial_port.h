#pragma once

#include <functional>
#include <map>
#include <set>
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

// The serial line over QSerialPort. Port n is the n-th device the system lists (COMn on Windows)
// unless an override maps it to a device path, such as a pseudo-terminal.
class QtSerialPort : public SerialPort {
 public:
  using PortOverrides = std::map<int, QString>;
  // Receives one line for each distinct reason an existing device could not be opened.
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

 private:
  QString devicePath(int portNo) const;
  void refreshSystemDevices() const;
  void reportOpenFailure(const QString& device, QSerialPort::SerialPortError error);
  void onError(QSerialPort::SerialPortError error);

  QSerialPort port_;
  PortOverrides overrides_;
  WarningSink warn_;
  ReceiveHandler handler_;
  mutable QStringList systemDevices_;
  mutable bool listed_ = false;
  std::set<std::pair<QString, QString>> warned_;
};

}  // namespace rtceval::qt
