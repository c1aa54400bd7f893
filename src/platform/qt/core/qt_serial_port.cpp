#include "platform/qt/core/qt_serial_port.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace rtceval::qt {
namespace {

constexpr qint32 kBaudRate = 19200;
// Many replies' worth: the program takes what arrives at once, so only a program held up fills it.
constexpr qint64 kReadBufferBytes = 4096;

QString lineName(const QString& device) {
#ifdef Q_OS_UNIX
  // A stable name (/dev/serial/by-id/...) is opened as the device it points at: the lock that
  // keeps other programs off the line is then the device's own, whichever name they use.
  const QString target = QFileInfo(device).canonicalFilePath();
  return target.isEmpty() ? device : target;
#else
  return device;
#endif
}

int kindRank(const QString& name) {
  if (name.contains(QLatin1String("ttyUSB"))) return 0;
  if (name.contains(QLatin1String("ttyACM"))) return 1;
  if (name.contains(QLatin1String("ttyS"))) return 2;
  return 3;
}

// The number a device's name ends in, or -1 when it ends in something else.
int trailingNumber(const QString& name) {
  qsizetype start = name.size();
  while (start > 0 && name.at(start - 1) >= QLatin1Char('0') &&
         name.at(start - 1) <= QLatin1Char('9'))
    --start;
  if (start == name.size()) return -1;
  bool ok = false;
  const int number = QStringView(name).mid(start).toInt(&ok);
  return ok ? number : -1;
}

#ifdef Q_OS_UNIX
QString systemText(int code) {
  return QString::fromLocal8Bit(std::strerror(code));
}

// Who may open a device the user may not: the group to join where the group has read and write
// access, else the owner alone.
QString permissionHint(const struct stat& info) {
  constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
  if ((info.st_mode & kGroupReadWrite) == kGroupReadWrite) {
    const struct group* owner = ::getgrgid(info.st_gid);
    const QString name = owner ? QString::fromLocal8Bit(owner->gr_name)
                               : QString::number(static_cast<qulonglong>(info.st_gid));
    return QStringLiteral(
               "permission denied (the device belongs to the group '%1': add your "
               "user to it with 'sudo usermod -aG %1 $USER' and log in again)")
        .arg(name);
  }
  const struct passwd* user = ::getpwuid(info.st_uid);
  const QString name = user ? QString::fromLocal8Bit(user->pw_name)
                            : QString::number(static_cast<qulonglong>(info.st_uid));
  return QStringLiteral("permission denied (only its owner '%1' may open it)").arg(name);
}

// Whether a character device is a terminal, as every serial device is. Only asked once Qt has
// failed to set the device up as a serial line.
bool isTerminal(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return true;  // cannot tell; Qt's own text says more
  const bool terminal = ::isatty(fd) == 1;
  ::close(fd);
  return terminal;
}
#endif

}  // namespace

QString describeOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                            const QString& errorText) {
#ifdef Q_OS_UNIX
  const QByteArray path = QFile::encodeName(device);
  struct stat info {};
  if (::stat(path.constData(), &info) != 0) {
    switch (errno) {
      case ENOENT:
      case ENOTDIR:
        return QStringLiteral("no such device");
      case ENAMETOOLONG:
        return QStringLiteral("device name too long");
      case EACCES:
        return QStringLiteral("permission denied (a folder on its path may not be searched)");
      default:
        return systemText(errno);
    }
  }
  if (S_ISDIR(info.st_mode)) return QStringLiteral("is a directory, not a serial device");
  if (!S_ISCHR(info.st_mode)) {
    const QString kind = S_ISREG(info.st_mode)    ? QStringLiteral("a regular file")
                         : S_ISFIFO(info.st_mode) ? QStringLiteral("a FIFO")
                         : S_ISSOCK(info.st_mode) ? QStringLiteral("a socket")
                                                  : QStringLiteral("a block device");
    return QStringLiteral("not a terminal (%1, not a serial device)").arg(kind);
  }
  if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) return permissionHint(info);
  // The device may be opened, so Qt's refusal means another program holds it: its lock file, or
  // a terminal opened for exclusive use.
  if (error == QSerialPort::PermissionError)
    return QStringLiteral("device is busy (in use by another program)");
  if (!isTerminal(path)) return QStringLiteral("not a terminal (not a serial device)");
#else
  Q_UNUSED(device);
  if (error == QSerialPort::DeviceNotFoundError) return QStringLiteral("no such device");
  if (error == QSerialPort::PermissionError)
    return QStringLiteral("access denied (the device may be in use by another program)");
#endif
  return errorText;
}

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
  for (QSerialPort& each : lines_) {
    QSerialPort* l = &each;
    // A device that streams while the program is held up holds no more than this here; the rest
    // waits in the system's driver, which has its own bound.
    l->setReadBufferSize(kReadBufferBytes);
    QObject::connect(l, &QSerialPort::readyRead, l, [this, l] {
      const QByteArray bytes = l->readAll();
      // Only the line in use speaks for the board.
      if (bytes.isEmpty() || l != &line() || !handler_) return;
      handler_(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size())));
    });
    QObject::connect(l, &QSerialPort::errorOccurred, l,
                     [this, l](QSerialPort::SerialPortError error) { onError(*l, error); });
  }
}

QtSerialPort::~QtSerialPort() {
  for (QSerialPort& l : lines_) {
    QObject::disconnect(&l, nullptr, &l, nullptr);
    l.close();
  }
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

QString QtSerialPort::findDevice(int portNo) {
  QString device = devicePath(portNo);
  if (device.isEmpty() && !overrides_.contains(portNo)) {
    // An adapter plugged in since the last look may now serve this number.
    refreshSystemDevices();
    device = devicePath(portNo);
  }
  return device;
}

bool QtSerialPort::openLine(QSerialPort& l, int portNo, const QString& device) {
  l.setPortName(lineName(device));
  l.setBaudRate(kBaudRate);
  l.setDataBits(QSerialPort::Data8);
  l.setParity(QSerialPort::NoParity);
  l.setStopBits(QSerialPort::OneStop);
  l.setFlowControl(QSerialPort::NoFlowControl);
  if (!l.open(QIODevice::ReadWrite)) {
    reportOpenFailure(l, portNo, device);
    l.clearError();
    return false;
  }
  warned_.erase(portNo);
  // The board draws power and readiness from these lines; a pseudo-terminal has no modem lines
  // and refuses them, which must not cost the connection.
  l.setDataTerminalReady(true);
  l.setRequestToSend(true);
  // Bytes waiting in the driver from before this program opened the device (a reply meant for an
  // earlier user of the line) would otherwise start the next reply.
  l.clear(QSerialPort::Input);
  l.clearError();
  return true;
}

bool QtSerialPort::open(int portNo) {
  close();
  const QString device = findDevice(portNo);
  // A port number without a device is normal during the board search: nothing to report.
  if (device.isEmpty() || !openLine(line(), portNo, device)) return false;
  openName_ = lineName(device);
  return true;
}

bool QtSerialPort::switchTo(int portNo) {
  if (!line().isOpen()) return open(portNo);
  const QString device = findDevice(portNo);
  if (device.isEmpty()) return false;
  // The device in use cannot be opened a second time; it is kept as it is.
  QString name = lineName(device);
  if (name == openName_) return true;
  if (!openLine(spare(), portNo, device)) return false;
  line().close();
  active_ = 1 - active_;
  openName_ = std::move(name);
  return true;
}

void QtSerialPort::close() {
  if (line().isOpen()) line().close();
}

bool QtSerialPort::isOpen() const {
  return line().isOpen();
}

bool QtSerialPort::write(std::span<const std::uint8_t> bytes) {
  if (!line().isOpen()) return false;
  const auto size = static_cast<qint64>(bytes.size());
  return line().write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

std::string QtSerialPort::deviceName(int portNo) const {
  return devicePath(portNo).toStdString();
}

void QtSerialPort::reportOpenFailure(const QSerialPort& l, int portNo, const QString& device) {
  if (!warn_) return;
  const QString reason = describeOpenFailure(device, l.error(), l.errorString());
  // The board search retries ports every few ticks; each failure is told once.
  std::pair<QString, QString> failure{device, reason};
  if (const auto it = warned_.find(portNo); it != warned_.end() && it->second == failure) return;
  warned_[portNo] = std::move(failure);
  warn_(QStringLiteral("rtceval: cannot open %1 as port %2: %3")
            .arg(device, QString::number(portNo), reason));
}

void QtSerialPort::onError(QSerialPort& l, QSerialPort::SerialPortError error) {
  // A device unplugged while open fails every read (Qt reports a resource or a read error) and
  // would keep signalling; close it, so that writes fail quietly and the pending request runs
  // into its time-out. The next open finds the device again once it is back.
  const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
  if (!lost || !l.isOpen()) return;
  l.close();
  // Told as an event of its own: the error may come out of a write in the middle of a request.
  // A spare line that failed is nobody's loss.
  QMetaObject::invokeMethod(
      &l,
      [this, &l] {
        if (lost_ && &l == &line() && !l.isOpen()) lost_();
      },
      Qt::QueuedConnection);
}

bool QtSerialPort::assignDevice(int portNo, const std::string& device) {
  if (portNo < kFirstPort || portNo > kLastPort || device.empty()) return false;
  overrides_[portNo] = QString::fromStdString(device);
  warned_.erase(portNo);
  return true;
}

}  // namespace rtceval::qt
