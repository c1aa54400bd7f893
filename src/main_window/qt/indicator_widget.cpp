#include "main_window/qt/indicator_widget.h"

#include <QPainter>

namespace rtceval::qt {

IndicatorWidget::IndicatorWidget(QWidget* parent) : QWidget(parent) {}

void IndicatorWidget::setColour(const QColor& colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void IndicatorWidget::setLit(bool lit) {
  setAccessibleDescription(lit ? QStringLiteral("亮") : QStringLiteral("灭"));
}

void IndicatorWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int diameter = std::min(width(), height()) - 1;
  const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.setBrush(colour_);
  painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace rtceval::qt
