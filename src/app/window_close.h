#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace rtceval::qt {
class MainWindowView;
class QtMessageBoxes;
}  // namespace rtceval::qt

namespace rtceval::app {

// Lets the user close the main window with the title bar's close button while a message box is
// open over it. Qt drops the window system's close request for a window that a modal box blocks,
// so the request is picked up before Qt sees it and passed on as QWidget::close(), which the
// window honours like any other close. Requests for a window that is not blocked are left to Qt.
// Works where the window system is X11; elsewhere it does nothing.
class BlockedCloseRelay : public QAbstractNativeEventFilter {
 public:
  // Watches `window` from now on; needs the QApplication.
  explicit BlockedCloseRelay(QWidget& window);
  ~BlockedCloseRelay() override;
  BlockedCloseRelay(const BlockedCloseRelay&) = delete;
  BlockedCloseRelay& operator=(const BlockedCloseRelay&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
  // The X11 atoms of a close request: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
  std::uint32_t wmProtocols_ = 0;
  std::uint32_t wmDeleteWindow_ = 0;
};

// Closing the main window ends the program: the model unloads (the view sees to that), the open
// message boxes are dismissed so that a handler waiting in one returns, and the event loop quits.
// The close button works also while a box is open.
class EndOnClose {
 public:
  EndOnClose(qt::MainWindowView& view, qt::QtMessageBoxes& messageBoxes);
  ~EndOnClose();
  EndOnClose(const EndOnClose&) = delete;
  EndOnClose& operator=(const EndOnClose&) = delete;

 private:
  qt::MainWindowView& view_;
  BlockedCloseRelay closeButton_;
};

}  // namespace rtceval::app
