/*
** Building the widgets of a form description.
*/
#include "views/qt/form_widgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QTimer>
#include <stdexcept>
#include <vector>

#include "platform/dock_layout.h"
#include "views/qt/gauge_widget.h"
#include "views/qt/qt_text.h"

namespace kv::qt {
namespace {

using form::Align;
using form::Kind;

QColor ToQColor(form::Colour c) { return QColor(c.r, c.g, c.b); }

Qt::Alignment ToQtAlignment(form::TextAlign a) {
  switch (a) {
    case form::TextAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
    case form::TextAlign::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case form::TextAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
  }
  return Qt::AlignLeft;
}

void SetBackground(QWidget* w, form::Colour c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(c));
  pal.setColor(QPalette::Base, ToQColor(c));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

void SetTextColour(QWidget* w, form::Colour c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, ToQColor(c));
  pal.setColor(QPalette::Text, ToQColor(c));
  w->setPalette(pal);
}

/* Lays out the aligned children of one widget as the forms expect: Top and
** Bottom take the full width at their edge in creation order, Client the rest. */
class AlignKeeper final : public QObject {
 public:
  explicit AlignKeeper(QWidget* parent) : QObject(parent) {
    setObjectName(kName);
    parent->installEventFilter(this);
  }
  static constexpr const char* kName = "kvAlignKeeper";
  void Add(QWidget* child, Align align) { children_.push_back({child, align}); }
  void Apply() {
    const QRect area = static_cast<QWidget*>(parent())->rect();
    std::vector<form::Docked> docked;
    for (auto [w, a] : children_) docked.push_back({a, {w->x(), w->y(), w->width(), w->height()}});
    const std::vector<form::Rect> placed =
        form::DockLayout({area.x(), area.y(), area.width(), area.height()}, docked);
    for (std::size_t i = 0; i < placed.size(); ++i)
      children_[i].first->setGeometry(placed[i].left, placed[i].top, placed[i].width, placed[i].height);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::Resize) Apply();
    return false;
  }

 private:
  std::vector<std::pair<QWidget*, Align>> children_;
};

// Found by name: without a meta-object of its own, a type lookup would match any child.
AlignKeeper* KeeperOf(QWidget* parent) {
  if (auto* k = parent->findChild<QObject*>(AlignKeeper::kName, Qt::FindDirectChildrenOnly))
    return static_cast<AlignKeeper*>(k);
  return new AlignKeeper(parent);
}

}  // namespace

TabControlWidget::TabControlWidget(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), client_(new QWidget(this)) {
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
}

void TabControlWidget::resizeEvent(QResizeEvent*) {
  const int h = tabs_->sizeHint().height();
  tabs_->setGeometry(0, 0, width(), h);
  client_->setGeometry(0, h, width(), std::max(0, height() - h));
}

void CentreOnScreen(QWidget* w) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(w->frameGeometry().width() / 2, w->frameGeometry().height() / 2));
  }
}

QFont FontFor(const form::Font& font) {
  QFont f(Q(font.family));
  if (font.fixedPitch) {
    // Keeps padded columns aligned when the named face is missing.
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setFamilies({Q(font.family), "Liberation Mono", "DejaVu Sans Mono", "monospace"});
  } else {
    f.setStyleHint(QFont::SansSerif);
    f.setFamilies({Q(font.family), "Liberation Sans", "DejaVu Sans"});
  }
  if (font.pixels > 0) f.setPixelSize(font.pixels);
  f.setBold(font.bold);
  return f;
}

FormWidgets::FormWidgets(const form::Form& description, QWidget* root) : form_(description) {
  root->setObjectName(Q(form_.name));
  root->setWindowTitle(Q(form_.caption));
  root->setFont(FontFor(form_.font));
  SetBackground(root, form_.colour);
  Qt::WindowFlags flags = Qt::Window;
  switch (form_.border) {
    case form::Border::None: flags |= Qt::FramelessWindowHint; break;
    case form::Border::Dialog:
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      break;
    case form::Border::Sizeable:
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
      break;
  }
  if (form_.stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  root->setWindowFlags(flags);
  if (form_.border == form::Border::Sizeable)
    root->resize(form_.width, form_.height);
  else
    root->setFixedSize(form_.width, form_.height);

  for (const form::Element& e : form_.elements) {
    QObject* built = nullptr;
    if (e.kind == Kind::Timer) {
      auto* t = new QTimer(root);
      t->setInterval(e.interval);
      t->setSingleShot(false);
      built = t;
    } else {
      QWidget* parent = ParentWidget(e, root);
      QWidget* w = Build(e, parent);
      // A page's place and visibility belong to its page control.
      if (e.kind != Kind::TabSheet) {
        w->setGeometry(e.bounds.left, e.bounds.top, e.bounds.width, e.bounds.height);
        if (e.align != Align::None) KeeperOf(parent)->Add(w, e.align);
        w->setVisible(e.visible);
      }
      w->setEnabled(e.enabled);
      if (e.focused) w->setFocus();
      built = w;
    }
    built->setObjectName(Q(e.name));
    objects_.emplace(std::string(e.name), built);
  }
  for (QObject* k : root->findChildren<QObject*>(AlignKeeper::kName)) static_cast<AlignKeeper*>(k)->Apply();
}

QWidget* FormWidgets::ParentWidget(const form::Element& e, QWidget* root) const {
  if (e.parent.empty()) return root;
  QObject* parent = Find(e.parent);
  if (auto* tabs = dynamic_cast<TabControlWidget*>(parent)) return tabs->Client();
  if (auto* w = dynamic_cast<QWidget*>(parent)) return w;
  throw std::logic_error("element " + std::string(e.name) + " has a parent that holds no widgets");
}

QWidget* FormWidgets::Build(const form::Element& e, QWidget* parent) {
  const QFont font = FontFor(form_.FontOf(e));
  QWidget* w = nullptr;
  switch (e.kind) {
    case Kind::Panel: {
      auto* panel = new QLabel(Q(e.caption), parent);
      panel->setAlignment(ToQtAlignment(e.textAlign));
      panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      SetBackground(panel, e.colour);
      w = panel;
      break;
    }
    case Kind::PageControl: w = new QStackedWidget(parent); break;
    case Kind::TabSheet: {
      auto* pages = dynamic_cast<QStackedWidget*>(parent);
      if (!pages) throw std::logic_error("page " + std::string(e.name) + " outside a page control");
      w = new QWidget(pages);
      w->setAccessibleName(Q(e.caption));
      pages->addWidget(w);
      break;
    }
    case Kind::TabControl: w = new TabControlWidget(parent); break;
    case Kind::Memo: {
      auto* memo = new QPlainTextEdit(parent);
      memo->setReadOnly(e.readOnly);
      memo->setVerticalScrollBarPolicy(e.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
      memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      memo->setFont(font);
      if (e.tabStop > 0) memo->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(' ') * e.tabStop);
      SetBackground(memo, e.colour);
      if (!e.caption.empty()) memo->setPlainText(Q(e.caption));
      w = memo;
      break;
    }
    case Kind::CheckBox: {
      auto* box = new QCheckBox(Q(e.caption), parent);
      box->setChecked(e.checked);
      w = box;
      break;
    }
    case Kind::Label: {
      auto* label = new QLabel(Q(e.caption), parent);
      label->setAlignment(ToQtAlignment(e.textAlign));
      w = label;
      break;
    }
    case Kind::Gauge: {
      auto* gauge = new GaugeWidget(ToQColor(e.colour), parent);
      gauge->SetMaximum(e.maximum);
      w = gauge;
      break;
    }
    case Kind::Button: w = new QPushButton(Q(e.caption), parent); break;
    case Kind::Picture: {
      auto* picture = new QLabel(parent);
      picture->setPixmap(QPixmap(":/" + Q(e.resource) + ".png"));
      picture->setAlignment(Qt::AlignCenter);
      w = picture;
      break;
    }
    case Kind::Timer: throw std::logic_error("a timer is not a widget");
  }
  w->setFont(font);
  if (e.kind == Kind::Label || e.kind == Kind::Panel) SetTextColour(w, e.textColour);
  return w;
}

QObject* FormWidgets::Find(std::string_view name) const {
  auto it = objects_.find(name);
  if (it == objects_.end()) throw std::out_of_range("form " + std::string(form_.name) + " has no " + std::string(name));
  return it->second;
}

}  // namespace kv::qt
