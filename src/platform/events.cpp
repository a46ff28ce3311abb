#include "platform/events.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"

namespace vna {

int msg_id = 0;
int msg_ctl_id = 0;
int msg_menu_id = 0;
int msg_wparam = 0;
int msg_mouse_x = 0;
int msg_mouse_y = 0;
Form* msg_form = nullptr;

namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::User + 101);

struct CallEvent : QEvent {
  explicit CallEvent(std::function<void()> f) : QEvent(kCallEvent), fn(std::move(f)) {}
  std::function<void()> fn;
};

// Every handler is called from here, from a posted event: handlers may destroy
// the very widget that raised their event (a button closing its dialog, a
// menu pick rebuilding the menu bar).
class Dispatcher : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == kCallEvent) {
      auto fn = std::move(static_cast<CallEvent*>(e)->fn);
      if (fn) fn();
      qt::DeleteGarbage();
      return true;
    }
    return QObject::event(e);
  }
};

Dispatcher* g_dispatcher = nullptr;
std::vector<QPointer<QObject>> g_garbage;
int g_dispatch_depth = 0;

int g_signal_pipe[2] = {-1, -1};
Form* g_signal_target = nullptr;
bool g_end_requested = false;

void OnEndRequest() {
  g_end_requested = true;
  // Boxes and dialogs waiting for a person would keep the program from
  // ending: close them as their close box would.
  qt::EndAllModals();
  if (g_signal_target && g_signal_target->IsOpen()) PostEvent(*g_signal_target, kEvClose);
}

void OnSignal(int) {
  char c = 1;
  if (g_signal_pipe[1] >= 0) {
    ssize_t n = write(g_signal_pipe[1], &c, 1);
    (void)n;
  }
}

}  // namespace

namespace qt {

void PostCall(std::function<void()> fn) {
  if (!g_dispatcher) return;
  QCoreApplication::postEvent(g_dispatcher, new CallEvent(std::move(fn)));
}

void DeleteSoon(QObject* obj) {
  if (!obj) return;
  if (QWidget* w = qobject_cast<QWidget*>(obj)) w->hide();
  g_garbage.emplace_back(obj);
}

void DeleteGarbage() {
  if (g_dispatch_depth > 0) return;  // a handler below may still use them
  auto garbage = std::move(g_garbage);
  g_garbage.clear();
  for (auto& p : garbage) delete p.data();
}

void PostImplEvent(FormImpl* impl, int id, int ctl, int wparam, int x, int y, int menu) {
  if (!impl || !impl->form) return;
  Form* f = impl->form;
  const int inst = impl->instance;
  PostCall([=] { Dispatch(f, inst, id, ctl, wparam, x, y, menu); });
}

void Dispatch(Form* form, int instance, int id, int ctl, int wparam, int x, int y, int menu) {
  if (!form || !form->impl || form->instance != instance || !form->handler) return;
  const int s_id = msg_id, s_ctl = msg_ctl_id, s_menu = msg_menu_id, s_wp = msg_wparam,
            s_x = msg_mouse_x, s_y = msg_mouse_y;
  Form* s_form = msg_form;
  msg_id = id;
  msg_ctl_id = ctl;
  msg_menu_id = menu;
  msg_wparam = wparam;
  msg_mouse_x = x;
  msg_mouse_y = y;
  msg_form = form;
  FormImpl* impl = form->impl;
  ++impl->handler_depth;
  ++g_dispatch_depth;
  Handler h = form->handler;  // the handler may redefine its own record
  h();
  --g_dispatch_depth;
  // The form may have been closed (and even reopened) by its own handler.
  if (form->impl == impl) {
    --impl->handler_depth;
    if (impl->is_dialog) {
      auto* dlg = static_cast<Dialog*>(form);
      if (dlg->close_code >= 0 && impl->handler_depth == 0) FinishDialog(*dlg, dlg->close_code);
    }
  }
  msg_id = s_id;
  msg_ctl_id = s_ctl;
  msg_menu_id = s_menu;
  msg_wparam = s_wp;
  msg_mouse_x = s_x;
  msg_mouse_y = s_y;
  msg_form = s_form;
}

}  // namespace qt

void PlatformInit(int& argc, char** argv) {
  if (g_dispatcher) return;
  if (!QCoreApplication::instance()) {
    new QApplication(argc, argv);
  }
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    app->setQuitOnLastWindowClosed(false);
    // The platform dialog font: 8 points at 96 dpi.
    app->setFont(qt::MakeFont("arial", 8, 0, false));
  }
  g_dispatcher = new Dispatcher;
}

bool PlatformReady() {
  return g_dispatcher != nullptr;
}

void PumpEvents() {
  if (!g_dispatcher) return;
  qt::DeleteGarbage();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  qt::DeleteGarbage();
  testhook::RunPumpHook();
}

void WaitEvents() {
  if (!g_dispatcher) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return;
  }
  qt::DeleteGarbage();
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  PumpEvents();
}

void WakeEvents() {
  if (g_dispatcher) qt::PostCall(nullptr);
}

void DelayMs(int ms) {
  const uint64_t end = TickMs64() + static_cast<uint64_t>(ms > 0 ? ms : 0);
  if (!g_dispatcher) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  PumpEvents();
  for (uint64_t now = TickMs64(); now < end; now = TickMs64()) {
    // A timer only wakes the event wait at the deadline; it calls no handler.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(end - now));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    PumpEvents();
  }
}

void PostEvent(Form& form, int id, int ctl_id, int wparam, int x, int y, int menu_id) {
  Form* f = &form;
  const int inst = form.instance;
  qt::PostCall([=] { qt::Dispatch(f, inst, id, ctl_id, wparam, x, y, menu_id); });
}

bool EndRequested() {
  return g_end_requested;
}

void SetSignalCloseTarget(Form* form) {
  g_signal_target = form;
  if (!form) {
    g_end_requested = false;
    return;
  }
  // A request that came before the window opened reaches it now.
  if (g_end_requested && form->IsOpen()) PostEvent(*form, kEvClose);
  if (g_signal_pipe[0] >= 0 || !g_dispatcher) return;
  if (pipe(g_signal_pipe) != 0) return;
  fcntl(g_signal_pipe[0], F_SETFL, O_NONBLOCK);
  fcntl(g_signal_pipe[1], F_SETFL, O_NONBLOCK);
  auto* notifier = new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, g_dispatcher);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char buf[16];
    while (read(g_signal_pipe[0], buf, sizeof buf) > 0) {
    }
    OnEndRequest();
  });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace vna
