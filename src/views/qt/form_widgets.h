/*
** Qt widgets built from a form description.
**
** Every element becomes one widget (a timer one QTimer) whose object name is
** the component name, so the views and the tests find them by that name.
** Panel: a QLabel (caption drawn left or centred); PageControl: a
** QStackedWidget of TabSheet pages; TabControl: a TabControlWidget; Memo: a
** read-only QPlainTextEdit; Gauge: a GaugeWidget; Picture: a QLabel holding
** the image of the Qt resource ":/<resource>.png".
*/
#pragma once

#include <QTabBar>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "platform/form_description.h"

class QObject;

namespace kv::qt {

/* A row of tabs over one client area that the children share. */
class TabControlWidget final : public QWidget {
 public:
  explicit TabControlWidget(QWidget* parent);
  QTabBar* Tabs() const { return tabs_; }
  QWidget* Client() const { return client_; }

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  QTabBar* tabs_;
  QWidget* client_;
};

/* The form's font in Qt: family with pixel size, monospaced faces preferred
** for fixed pitch. */
QFont FontFor(const form::Font& font);

/* Moves w to the middle of the primary screen's free area. */
void CentreOnScreen(QWidget* w);

class FormWidgets {
 public:
  /* Builds the elements of description as children of root, sizes root
  ** (client or outer size), sets its caption and window flags. */
  FormWidgets(const form::Form& description, QWidget* root);

  const form::Form& Description() const { return form_; }

  /* The object built for the named element; throws std::out_of_range for
  ** an unknown name or another type. */
  template <class T>
  T* Get(std::string_view name) const {
    auto* t = dynamic_cast<T*>(Find(name));
    if (!t) throw std::out_of_range("element " + std::string(name) + " is not of the requested kind");
    return t;
  }

 private:
  QObject* Find(std::string_view name) const;
  QWidget* ParentWidget(const form::Element& e, QWidget* root) const;
  QWidget* Build(const form::Element& e, QWidget* parent);

  const form::Form& form_;
  std::map<std::string, QObject*, std::less<>> objects_;
};

}  // namespace kv::qt
