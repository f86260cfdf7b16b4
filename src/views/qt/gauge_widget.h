/*
** A gauge drawn by hand: a sunken white box filled from the left in one colour,
** without any text, the same on every style.
*/
#pragma once

#include <QColor>
#include <QWidget>

namespace kv::qt {

class GaugeWidget final : public QWidget {
 public:
  GaugeWidget(QColor bar, QWidget* parent) : QWidget(parent), bar_(bar) {}

  int Maximum() const { return max_; }
  void SetMaximum(int max);
  int Progress() const { return progress_; }
  /* Kept within 0 and the maximum. */
  void SetProgress(int progress);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor bar_;
  int max_ = 100, progress_ = 0;
};

}  // namespace kv::qt
