/*
** Helpers of the window tests: widgets found by component name, clicks,
** modal boxes answered from a timer, and screenshots kept for people to look at.
*/
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace kv::test {

/* The child of root named name, of type T; fails the test when missing. */
template <class T>
T* Find(QWidget* root, const char* name) {
  T* w = dynamic_cast<T*>(root->findChild<QObject*>(name));
  if (!w) ADD_FAILURE() << "no element " << name;
  return w;
}

inline void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

/* Writes w as <screenshot dir>/<name>.png. */
void Screenshot(QWidget* w, const std::string& name);

/* Runs act on the next modal widget of type T that appears (polled every 20 ms),
** while the caller's code blocks in its modal loop. */
template <class T>
void WhenModal(std::function<void(T*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (auto* w = dynamic_cast<T*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(w);
    }
  });
  poll->start();
}

/* Plain text of a memo, lines joined by "\n". */
std::string MemoText(QWidget* root, const char* name);

}  // namespace kv::test
