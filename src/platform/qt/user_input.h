#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QString>

namespace rtceval::qt {

// A tick or a text reaches the model the same way whether the user clicked, typed, used the
// keyboard or an assistive technology (an AT-SPI Toggle calls toggle(), a text change setText()):
// views listen to toggled and textChanged, and set what the model says with the widget's signals
// blocked, so nothing the program sets comes back as the user's.

// Calls `handler(checked)` whenever the user ticks or unticks the button.
template <class Handler>
void onUserToggle(QAbstractButton* button, QObject* context, Handler handler) {
  QObject::connect(button, &QAbstractButton::toggled, context, std::move(handler));
}

// Calls `handler()` whenever the user selects the (radio) button.
template <class Handler>
void onUserSelect(QAbstractButton* button, QObject* context, Handler handler) {
  QObject::connect(button, &QAbstractButton::toggled, context, [handler](bool on) {
    if (on) handler();
  });
}

// Calls `handler(text)` whenever the user changes the box's text.
template <class Handler>
void onUserText(QLineEdit* box, QObject* context, Handler handler) {
  QObject::connect(box, &QLineEdit::textChanged, context, std::move(handler));
}

// Shows the model's tick without it counting as the user's.
inline void showChecked(QAbstractButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

// Shows the model's text without it counting as the user's; an equal text is left alone, so the
// cursor of the box being typed in stays where it is.
inline void showText(QLineEdit* box, const QString& text) {
  if (box->text() == text) return;
  const QSignalBlocker quiet(box);
  box->setText(text);
}

}  // namespace rtceval::qt
