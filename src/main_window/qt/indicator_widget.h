#pragma once

#include <QColor>
#include <QWidget>

namespace rtceval::qt {

// A round lamp: a filled circle, as large as the shorter side of its box, centred in it, with a
// thin dark outline. Assistive technology reads its name and whether it is lit.
class IndicatorWidget : public QWidget {
 public:
  explicit IndicatorWidget(QWidget* parent);
  void setColour(const QColor& colour);
  QColor colour() const { return colour_; }
  // Tells assistive technology whether the lamp is lit.
  void setLit(bool lit);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
};

}  // namespace rtceval::qt
