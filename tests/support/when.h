// Acting on a window from inside the program's own event waits: a step of a
// test that runs once the window it needs is on screen, as a person would
// act on it, while the procedure that opened it still waits.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>

namespace vna::test {

// Calls act once ready() holds, tested every few milliseconds while events
// are handled (only from within the program's waits and loops).
inline void When(std::function<bool()> ready, std::function<void()> act) {
  auto* t = new QTimer;
  t->setInterval(5);
  QObject::connect(t, &QTimer::timeout, [t, ready = std::move(ready), act = std::move(act)] {
    if (!ready()) return;
    t->stop();
    t->deleteLater();
    act();
  });
  t->start();
}

}  // namespace vna::test
