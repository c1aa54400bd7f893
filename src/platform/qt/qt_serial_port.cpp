#include "platform/qt/qt_serial_port.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <cerrno>
#endif

namespace rtceval::qt {
namespace {

constexpr qint32 kBaudRate = 19200;

int kindRank(const QString& name) {
  if (name.contains(QLatin1String("ttyUSB"))) return 0;
  if (name.contains(QLatin1String("ttyACM"))) return 1;
  if (name.contains(QLatin1String("ttyS"))) return 2;
  return 3;
}

int trailingNumber(const QString& name) {
  static const QRegularExpression kDigits(QStringLiteral("(\\d+)$"));
  const QRegularExpressionMatch m = kDigits.match(name);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Why an existing device refused to open, in the words of the one line printed about it; empty
// when there is nothing worth telling (the device does not exist, say).
QString failureReason(const QString& device, QSerialPort::SerialPortError error) {
  if (error != QSerialPort::PermissionError) return {};
#ifdef Q_OS_UNIX
  // Qt reports a refused open and a device locked by another program alike; the file's access
  // rights tell them apart.
  const QByteArray path = QFile::encodeName(device);
  if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
    return QStringLiteral("permission denied (add your user to the dialout group)");
#else
  Q_UNUSED(device);
#endif
  return QStringLiteral("device is busy (in use by another program)");
}

}  // namespace

QStringList orderSerialDevices(QStringList devices) {
  std::stable_sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
    const int ra = kindRank(a);
    const int rb = kindRank(b);
    if (ra != rb) return ra < rb;
    const int na = trailingNumber(a);
    const int nb = trailingNumber(b);
    if (na != nb) return na < nb;
    return a < b;
  });
  return devices;
}

QtSerialPort::QtSerialPort(PortOverrides overrides, WarningSink warn)
    : overrides_(std::move(overrides)), warn_(std::move(warn)) {
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty() || !handler_) return;
    handler_(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size())));
  });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialPort::~QtSerialPort() {
  QObject::disconnect(&port_, nullptr, &port_, nullptr);
  port_.close();
}

void QtSerialPort::refreshSystemDevices() const {
  QStringList found;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    found << info.systemLocation();
  systemDevices_ = orderSerialDevices(found);
  listed_ = true;
}

QString QtSerialPort::devicePath(int portNo) const {
  if (const auto it = overrides_.find(portNo); it != overrides_.end()) return it->second;
  if (portNo < kFirstPort || portNo > kLastPort) return {};
#ifdef Q_OS_WIN
  return QStringLiteral("COM%1").arg(portNo);
#else
  if (!listed_) refreshSystemDevices();
  const auto index = static_cast<qsizetype>(portNo - kFirstPort);
  return index < systemDevices_.size() ? systemDevices_.at(index) : QString();
#endif
}

bool QtSerialPort::open(int portNo) {
  close();
  QString device = devicePath(portNo);
  if (device.isEmpty() && !overrides_.contains(portNo)) {
    // An adapter plugged in since the last look may now serve this number.
    refreshSystemDevices();
    device = devicePath(portNo);
  }
  if (device.isEmpty()) return false;

  port_.setPortName(device);
  port_.setBaudRate(kBaudRate);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!port_.open(QIODevice::ReadWrite)) {
    reportOpenFailure(device, port_.error());
    port_.clearError();
    return false;
  }
  // The board draws power and readiness from these lines; a pseudo-terminal has no modem lines
  // and refuses them, which must not cost the connection.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(true);
  // Bytes waiting in the driver from before this program opened the device (a reply meant for an
  // earlier user of the line) would otherwise start the next reply.
  port_.clear(QSerialPort::Input);
  port_.clearError();
  return true;
}

void QtSerialPort::close() {
  if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isOpen() const {
  return port_.isOpen();
}

bool QtSerialPort::write(std::span<const std::uint8_t> bytes) {
  if (!port_.isOpen()) return false;
  const auto size = static_cast<qint64>(bytes.size());
  return port_.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

std::string QtSerialPort::deviceName(int portNo) const {
  return devicePath(portNo).toStdString();
}

void QtSerialPort::reportOpenFailure(const QString& device, QSerialPort::SerialPortError error) {
  const QString reason = failureReason(device, error);
  if (reason.isEmpty() || !warn_) return;
  // The board search retries ports every few ticks; say it once per device and reason.
  if (!warned_.insert({device, reason}).second) return;
  warn_(QStringLiteral("rtceval: cannot open %1: %2").arg(device, reason));
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  // A device unplugged while open fails every read (Qt reports a resource or a read error) and
  // would keep signalling; close it, so that writes fail quietly and the pending request runs
  // into its time-out. The next open finds the device again once it is back.
  const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
  if (lost && port_.isOpen()) port_.close();
}

}  // namespace rtceval::qt
