// rtceval: the PC program of the evaluation kit for serial real-time-clock chips. Builds the
// platform seams, the main window's model and its view, and runs the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <optional>

#include "board_link/qt/core/frame_trace.h"
#include "command_line.h"
#include "end_on_signal.h"
#include "main_window/main_window.h"
#include "main_window/qt/main_window_view.h"
#include "platform/port_mux.h"
#include "platform/qt/core/qt_pc_clock.h"
#include "platform/qt/core/qt_serial_port.h"
#include "platform/qt/core/qt_timer.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/ui_fonts.h"
#include "qt_texts.h"
#include "sim/civil_time.h"
#include "sim/virtual_board_port.h"
#include "window_close.h"

namespace {

void printWarning(const QString& line) {
  std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void nameTheProgram() {
  QCoreApplication::setApplicationName(QStringLiteral("rtceval"));
  QCoreApplication::setApplicationVersion(QStringLiteral(RTCEVAL_VERSION));
}

// The command line is read before any window system is needed, so that --help, --version and
// usage errors work without a display. Qt's own options stay in argv for QApplication.
std::optional<rtceval::app::Options> readCommandLine(int argc, char** argv) {
  QCoreApplication core(argc, argv);
  nameTheProgram();
  rtceval::app::ParsedCommandLine parsed =
      rtceval::app::parseCommandLine(QCoreApplication::arguments());
  if (!parsed.options) rtceval::app::printUsageError(parsed.usageError);
  return parsed.options;
}

}  // namespace

int main(int argc, char** argv) {
  rtceval::app::holdEndSignals();
  const auto options = readCommandLine(argc, argv);
  if (!options) return rtceval::app::kUsageError;

  QApplication app(argc, argv);
  nameTheProgram();

  // The message boxes' buttons and the file dialogs in Chinese, before any window. Without Qt's
  // catalogue the program runs all the same, with Qt's own texts in English.
  QTranslator qtTexts;
  if (!rtceval::app::installQtChineseTexts(qtTexts))
    printWarning(QStringLiteral("rtceval: Qt's Chinese texts (qtbase_zh_CN.qm) not found in ") +
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  rtceval::qt::applyUiFont(app);

  rtceval::qt::QtSerialPort serial(options->ports, printWarning);
  rtceval::qt::QtTimerFactory timers;
  rtceval::qt::QtMonotonicClock clock;
  rtceval::qt::QtMessageBoxes messageBoxes;
  rtceval::qt::QtPcClock pcClock;
  rtceval::qt::QtDesktop desktop(
      rtceval::qt::QtDesktop::installedDataDirectory(QStringLiteral(RTCEVAL_BUILD_DATA_DIR)));

  rtceval::PortMux ports(serial);
  std::unique_ptr<rtceval::sim::VirtualBoardPort> board;
  if (options->simulate) {
    board = std::make_unique<rtceval::sim::VirtualBoardPort>(timers, clock, *options->simulate,
                                                             rtceval::sim::localCivilTimeNow(),
                                                             rtceval::app::kVirtualBoardPort);
    board->board().chip().setCrystalPpm(options->crystalPpm);
    ports.route(rtceval::app::kVirtualBoardPort, *board);
  }

  rtceval::MainWindow model(ports, timers, clock, messageBoxes, pcClock, desktop);
  if (options->trace) rtceval::qt::traceFramesToStderr(model.link(), model.profile());
  rtceval::qt::MainWindowView view(model);
  messageBoxes.setParentWindow(&view);

  // The window is on the screen before the board search lists and opens the serial devices; it
  // is painted from the event loop, so its first picture already shows the loaded state.
  view.show();
  model.Form_Load();
  // Decoding the icon costs as much as building half the window, and the first picture does not
  // need it: the window manager gets it from the event loop, just after the window is up. The
  // view has registered the program's resources.
  QTimer::singleShot(
      0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/rtceval/rtceval.png"))); });
  const rtceval::app::EndOnClose endOnClose(view, messageBoxes);
  const rtceval::app::EndOnSignal endOnSignal([&view] { view.close(); });
  return QApplication::exec();
}
