// Closing the main window ends the program, also while a message box waits for an answer: the
// model unloads once, the box goes, the handler that opened it returns and the event loop quits.
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include <chrono>
#include <functional>

#include "view_rig.h"
#include "window_close.h"

#if defined(RTCEVAL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#define RTCEVAL_TEST_X11
#endif

using namespace std::chrono_literals;

namespace {

// exec()'s code when the close was lost and the box had to be closed for the test to go on.
constexpr int kCloseLost = 99;

// Closes a box still open after a long while, so that a lost close fails the test instead of
// hanging it.
struct FailSafe {
  QTimer timer;
  bool fired = false;
  FailSafe() {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      fired = true;
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
      QCoreApplication::exit(kCloseLost);
    });
    timer.start(10s);
  }
};

// The program as main() builds it, connected, with X1226 chosen and the automatic time read on,
// so that a reply that never comes makes the model ask its time-out question from a timer tick.
struct ClosingRig : rtceval::testing::ProgramRig {
  rtceval::app::EndOnClose endOnClose{view, messageBoxes};
  FailSafe failSafe;

  ClosingRig() {
    model.menuClick(rtceval::MenuId::X1226);
    model.autoReadTimeClicked(true);
    closesBefore = port.closeCount;
  }

  // Runs the event loop while a tick of the model asks the time-out question and `close` closes
  // the window with the box open; gives exec()'s code.
  int closeDuringQuestion(const std::function<void()>& close) {
    QTimer::singleShot(0, [this] { clock.advance(2200ms); });
    QTimer::singleShot(0, [this, close] {
      boxOpenAtClose = messageBoxes.openBoxes() == 1 &&
                       qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
      close();
    });
    return QCoreApplication::exec();
  }

  int closesBefore = 0;
  bool boxOpenAtClose = false;
};

void checkTheProgramEnded(ClosingRig& rig, int exitCode) {
  QCOMPARE(exitCode, 0);
  QVERIFY(rig.boxOpenAtClose);
  QVERIFY(!rig.view.isVisible());
  QCOMPARE(rig.messageBoxes.openBoxes(), 0);
  QVERIFY(!QApplication::activeModalWidget());
  // Unloaded: the port is closed and the timers stand still.
  QCOMPARE(rig.port.closeCount, rig.closesBefore + 1);
  QVERIFY(!rig.port.isOpen());
  QVERIFY(!rig.model.mainTimer().isEnabled());
  // The question was answered No, as the Escape key answers it: Yes would have stopped the
  // automatic time read.
  QVERIFY(rig.model.controls().autoReadTime.checked);
  // No box opens once the program ends; a question is answered No at once.
  QVERIFY(!rig.messageBoxes.askYesNo("接收超时错,是否停止自动方式！", "出错"));
  QVERIFY(!rig.failSafe.fired);
  // A second close does not unload again: the port opened since stays open.
  QVERIFY(rig.port.open(1));
  rig.view.close();
  QCOMPARE(rig.port.closeCount, rig.closesBefore + 1);
}

#ifdef RTCEVAL_TEST_X11
std::uint32_t internAtom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const std::uint32_t atom = reply ? reply->atom : 0;
  std::free(reply);
  return atom;
}

// What a window manager sends when the user clicks the close button in the title bar.
void clickCloseButton(QWidget& window) {
  xcb_connection_t* connection =
      qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = static_cast<xcb_window_t>(window.winId());
  event.type = internAtom(connection, "WM_PROTOCOLS");
  event.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
}
#endif

}  // namespace

class EndOnCloseTest : public QObject {
  Q_OBJECT

 private slots:
  void closingUnderAMessageBoxEndsTheProgram() {
    ClosingRig rig;
    const int exitCode = rig.closeDuringQuestion([&rig] { rig.view.close(); });
    checkTheProgramEnded(rig, exitCode);
  }

  void closeButtonWorksUnderAMessageBox() {
#ifdef RTCEVAL_TEST_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      QSKIP("needs an X server (ctest runs this under Xvfb as view_end_on_close_x11)");
    ClosingRig rig;
    const int exitCode = rig.closeDuringQuestion([&rig] { clickCloseButton(rig.view); });
    checkTheProgramEnded(rig, exitCode);
#else
    QSKIP("built without X11 support");
#endif
  }

  void closeButtonWithoutABoxIsLeftToQt() {
    ClosingRig rig;
    QTimer::singleShot(0, [&rig] { rig.view.close(); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!rig.view.isVisible());
    QCOMPARE(rig.port.closeCount, rig.closesBefore + 1);
  }
};

QTEST_MAIN(EndOnCloseTest)
#include "test_end_on_close.moc"
