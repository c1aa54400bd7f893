#include "window_close.h"

#include <QApplication>
#include <QByteArray>
#include <QGuiApplication>
#include <QMetaObject>

#include "main_window/qt/main_window_view.h"
#include "platform/qt/qt_message_boxes.h"

// X11 through Qt's xcb platform, where the build found the xcb library.
#if defined(RTCEVAL_HAVE_XCB) && QT_CONFIG(xcb)
#define RTCEVAL_RELAY_X11
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#endif

namespace rtceval::app {
namespace {

#ifdef RTCEVAL_RELAY_X11
xcb_connection_t* x11Connection() {
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

// The atoms of `names`, asked for together so that the X server is waited for once.
template <std::size_t N>
std::array<std::uint32_t, N> internAtoms(xcb_connection_t* connection,
                                         const std::array<const char*, N>& names) {
  std::array<xcb_intern_atom_cookie_t, N> cookies{};
  for (std::size_t i = 0; i < N; ++i) {
    cookies[i] =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
  }
  std::array<std::uint32_t, N> atoms{};
  for (std::size_t i = 0; i < N; ++i) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
    atoms[i] = reply ? reply->atom : 0;
    std::free(reply);
  }
  return atoms;
}

// The X11 window a close request is addressed to, or 0 when `message` is something else.
std::uint32_t closeRequestTarget(void* message, std::uint32_t wmProtocols,
                                 std::uint32_t wmDeleteWindow) {
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The high bit marks an event another client sent, as a window manager does.
  if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return 0;
  const auto* client = static_cast<const xcb_client_message_event_t*>(message);
  if (client->format != 32 || client->type != wmProtocols ||
      client->data.data32[0] != wmDeleteWindow)
    return 0;
  return client->window;
}
#endif

}  // namespace

BlockedCloseRelay::BlockedCloseRelay(QWidget& window) : window_(&window) {
#ifdef RTCEVAL_RELAY_X11
  if (xcb_connection_t* connection = x11Connection()) {
    const auto atoms = internAtoms(connection, std::array{"WM_PROTOCOLS", "WM_DELETE_WINDOW"});
    wmProtocols_ = atoms[0];
    wmDeleteWindow_ = atoms[1];
  }
#endif
  if (wmProtocols_ != 0 && wmDeleteWindow_ != 0) qApp->installNativeEventFilter(this);
}

BlockedCloseRelay::~BlockedCloseRelay() {
  if (qApp) qApp->removeNativeEventFilter(this);
}

bool BlockedCloseRelay::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* result) {
  Q_UNUSED(result);
#ifdef RTCEVAL_RELAY_X11
  if (eventType != QByteArrayLiteral("xcb_generic_event_t") || !window_) return false;
  const std::uint32_t target = closeRequestTarget(message, wmProtocols_, wmDeleteWindow_);
  if (target == 0 || static_cast<WId>(target) != window_->internalWinId()) return false;
  // Without a modal box Qt delivers the request itself.
  if (!QApplication::activeModalWidget()) return false;
  // Closed once the window system's event has been handled, not in the middle of it.
  QMetaObject::invokeMethod(
      window_.data(),
      [window = window_] {
        if (window) window->close();
      },
      Qt::QueuedConnection);
  return true;
#else
  Q_UNUSED(eventType);
  Q_UNUSED(message);
  return false;
#endif
}

EndOnClose::EndOnClose(qt::MainWindowView& view, qt::QtMessageBoxes& messageBoxes)
    : view_(view), closeButton_(view) {
  view_.setClosedHandler([&messageBoxes] {
    messageBoxes.dismissAll();
    QCoreApplication::quit();
  });
}

EndOnClose::~EndOnClose() {
  view_.setClosedHandler({});
}

}  // namespace rtceval::app
