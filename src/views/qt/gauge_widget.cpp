/*
** The gauge's drawing.
*/
#include "views/qt/gauge_widget.h"

#include <QPainter>
#include <algorithm>

namespace kv::qt {

void GaugeWidget::SetMaximum(int max) {
  max_ = max;
  SetProgress(progress_);
}

void GaugeWidget::SetProgress(int progress) {
  progress_ = std::clamp(progress, 0, std::max(max_, 0));
  update();
}

void GaugeWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect box = rect();
  p.fillRect(box, Qt::white);
  p.setPen(QColor(128, 128, 128));
  p.drawLine(box.topLeft(), box.topRight());
  p.drawLine(box.topLeft(), box.bottomLeft());
  p.setPen(QColor(255, 255, 255));
  const QRect inner = box.adjusted(1, 1, -1, -1);
  if (max_ > 0 && progress_ > 0) {
    const int w = static_cast<int>(static_cast<long long>(inner.width()) * progress_ / max_);
    p.fillRect(QRect(inner.left(), inner.top(), w, inner.height()), bar_);
  }
}

}  // namespace kv::qt
