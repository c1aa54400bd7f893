#include "platform/qt/qt_desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSerialPortInfo>
#include <QSysInfo>
#include <QUrl>

#include <utility>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace rtceval::qt {
namespace {

QString fromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string toUtf8(const QString& s) {
  return s.toStdString();
}

// Whether the user may open the serial devices: root, or a member of the group that owns
// them (dialout on Debian).
bool maySerialDevices() {
#ifdef Q_OS_UNIX
  if (::geteuid() == 0) return true;
  const struct group* dialout = ::getgrnam("dialout");
  if (!dialout) return false;
  if (::getegid() == dialout->gr_gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<std::size_t>(i)] == dialout->gr_gid) return true;
  return false;
#else
  return true;
#endif
}

}  // namespace

QtDesktop::QtDesktop(QString dataDirectory) : dataDirectory_(std::move(dataDirectory)) {}

QString QtDesktop::installedDataDirectory(const QString& buildTreeData) {
  const QString installed =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/rtceval"));
  return QFileInfo(installed).isDir() ? installed : buildTreeData;
}

std::string QtDesktop::workingDirectory() const {
  return toUtf8(QDir::currentPath());
}

std::string QtDesktop::dataDirectory() const {
  return toUtf8(dataDirectory_);
}

bool QtDesktop::fileExists(const std::string& path) const {
  const QFileInfo info(fromUtf8(path));
  return info.exists() && info.isFile();
}

bool QtDesktop::openFile(const std::string& path, std::function<void()> noViewer) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  // The desktop's opener is started, not asked through a shell, and the path is its one
  // argument. It tells only when it ends whether it found a viewer (it may stay until the viewer
  // is closed), so its status is heard later; it keeps running should the program end first.
  constexpr int kNoMethodAvailable = 3;
  auto* opener = new QProcess;
  opener->setProgram(QStringLiteral("xdg-open"));
  opener->setArguments({fromUtf8(path)});
  opener->setProcessChannelMode(QProcess::ForwardedChannels);
  opener->setStandardInputFile(QProcess::nullDevice());
  QObject::connect(opener, &QProcess::finished, opener,
                   [opener, noViewer = std::move(noViewer)](int code, QProcess::ExitStatus how) {
                     opener->deleteLater();
                     if (how == QProcess::NormalExit && code == kNoMethodAvailable && noViewer)
                       noViewer();
                   });
  opener->start();
  if (opener->waitForStarted()) return true;
  opener->deleteLater();
  return false;
#else
  (void)noViewer;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(fromUtf8(path)));
#endif
}

void QtDesktop::copyToClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(fromUtf8(text));
}

std::optional<SystemFacts> QtDesktop::systemFacts() const {
  SystemFacts facts;
  facts.operatingSystem =
      toUtf8(QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelType() +
             QLatin1Char(' ') + QSysInfo::kernelVersion() + QStringLiteral(", ") +
             QSysInfo::currentCpuArchitecture() + QLatin1Char(')'));
  facts.toolkitVersion = qVersion();
  facts.serialDevices = serialDevices();
  facts.maySerial = maySerialDevices();
  return facts;
}

std::vector<SerialDeviceFacts> QtDesktop::serialDevices() const {
  std::vector<SerialDeviceFacts> devices;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    SerialDeviceFacts device;
    device.device = toUtf8(info.systemLocation());
    device.description = toUtf8(info.description());
    device.manufacturer = toUtf8(info.manufacturer());
    if (info.hasVendorIdentifier()) device.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) device.productId = info.productIdentifier();
    device.serialNumber = toUtf8(info.serialNumber());
    devices.push_back(std::move(device));
  }
  return devices;
}

std::string QtDesktop::resolveDevice(const std::string& path) const {
  if (path.empty()) return {};
#ifdef Q_OS_UNIX
  // A dangling link (a by-id name whose adapter is out) resolves to nothing.
  return toUtf8(QFileInfo(fromUtf8(path)).canonicalFilePath());
#else
  // COMn has no file of its own; it is there while the system lists it.
  const QString name = fromUtf8(path);
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    if (info.portName() == name || info.systemLocation() == name) return path;
  return {};
#endif
}

}  // namespace rtceval::qt
