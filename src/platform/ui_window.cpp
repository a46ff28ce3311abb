// Top-level windows: records that outlive their widgets, a backing image per
// window, menus, tool tips, events delivered as ids.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>

#include "platform/events.h"
#include "platform/qt_internal.h"

namespace vna {
namespace qt {

QString NormalizeBreaks(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return Q(out);
}

int VirtualKey(int key, Qt::KeyboardModifiers mods) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return (mods & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : 48 + (key - Qt::Key_0);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Plus:
      return (mods & Qt::KeypadModifier) ? 107 : 187;
    case Qt::Key_Minus:
      return (mods & Qt::KeypadModifier) ? 109 : 189;
    case Qt::Key_Comma:
      return 188;
    case Qt::Key_Period:
      return (mods & Qt::KeypadModifier) ? 110 : 190;
    default:
      return key < 128 ? key : 0;
  }
}

namespace {

// The drawing area: paints the backing image; controls lie on top of it.
class Canvas : public QWidget {
 public:
  Canvas(QWidget* parent, FormImpl* impl) : QWidget(parent), impl_(impl) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::white);
    p.drawImage(e->rect().topLeft(), impl_->image, e->rect());
    impl_->dirty = QRect();
  }
  void mouseMoveEvent(QMouseEvent* e) override { Post(kEvMouseMove, e); }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) Post(kEvLButtonDown, e);
    if (e->button() == Qt::RightButton) Post(kEvRButtonDown, e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) Post(kEvLButtonUp, e);
  }

 private:
  void Post(int id, QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    PostImplEvent(impl_, id, 0, 0, p.x(), p.y());
  }
  FormImpl* impl_;
};

class TopWindow : public QWidget {
 public:
  explicit TopWindow(FormImpl* impl) : QWidget(nullptr), impl_(impl) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_AlwaysShowToolTips);
  }
  ~TopWindow() override { delete impl_; }
  void Layout() {
    const int mb = impl_->menubar ? impl_->menubar->sizeHint().height() : 0;
    if (impl_->menubar) impl_->menubar->setGeometry(0, 0, width(), mb);
    if (impl_->client) impl_->client->setGeometry(0, mb, width(), height() - mb);
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    // The close box only asks; the handler decides.
    e->ignore();
    PostImplEvent(impl_, kEvClose);
  }
  void resizeEvent(QResizeEvent*) override {
    Layout();
    if (impl_->image.width() < width() || impl_->image.height() < height()) {
      // Keep what was drawn: the program never redraws a resized window.
      QImage bigger(std::max(width(), impl_->image.width()),
                    std::max(height(), impl_->image.height()), QImage::Format_RGB32);
      bigger.fill(Qt::white);
      QPainter p(&bigger);
      p.drawImage(0, 0, impl_->image);
      impl_->image = bigger;
    }
    if (width() != impl_->width || height() != impl_->height) {
      impl_->width = width();
      impl_->height = height();
      PostImplEvent(impl_, kEvResize);
    }
  }
  void keyPressEvent(QKeyEvent* e) override {
    const int vk = VirtualKey(e->key(), e->modifiers());
    if (vk) PostImplEvent(impl_, kEvKeyDown, 0, vk);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (e->isAutoRepeat()) return;  // key up only on a real release
    const int vk = VirtualKey(e->key(), e->modifiers());
    if (vk) PostImplEvent(impl_, kEvKeyUp, 0, vk);
  }

 private:
  FormImpl* impl_;
};

QString TipHtml(const std::string& text, int width_px) {
  std::string t = text;
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
  QString body = NormalizeBreaks(t).toHtmlEscaped().replace("\n", "<br>");
  return QString("<table width=\"%1\"><tr><td>%2</td></tr></table>").arg(width_px).arg(body);
}

// A menu item shows a check mark while checked and looks like any other
// item otherwise: no empty check box on items that are no toggles.
void ShowCheck(QAction* a, bool on) {
  a->setCheckable(on);
  a->setChecked(on);
}

void BuildMenu(FormImpl* impl, QMenu* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& it : items) {
    if (it.separator) {
      menu->addSeparator();
    } else if (!it.items.empty()) {
      QMenu* sub = menu->addMenu(Literal(it.caption));
      sub->menuAction()->setEnabled(!it.greyed);
      BuildMenu(impl, sub, it.items);
    } else {
      QAction* a = menu->addAction(Literal(it.caption));
      ShowCheck(a, it.checked);
      a->setEnabled(!it.greyed);
      impl->actions.emplace(it.id, a);
      const int id = it.id;
      QObject::connect(a, &QAction::triggered, a, [a, impl, id] {
        // A pick never changes a check mark by itself (Qt has just taken it
        // off a checked item); the command sets it.
        if (a->isCheckable()) a->setChecked(true);
        PostImplEvent(impl, kEvMenu, 0, 0, 0, 0, id);
      });
    }
  }
}

void SetChecks(std::vector<MenuItem>& items, int id, bool on) {
  for (MenuItem& it : items) {
    if (it.id == id && it.items.empty() && !it.separator) it.checked = on;
    SetChecks(it.items, id, on);
  }
}

// A window of the program (not a box or dialog) is shown and stays on top.
bool WindowOnTopShown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && !w->isMinimized() && StaysOnTop(w) && !qobject_cast<QDialog*>(w))
      return true;
  }
  return false;
}

}  // namespace

FormImpl* NewWindowImpl(Window& win, int w, int h) {
  auto* impl = new FormImpl;
  impl->form = &win;
  auto* top = new TopWindow(impl);
  impl->top = top;
  impl->client = new Canvas(top, impl);
  impl->image = QImage(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
  impl->image.fill(Qt::white);
  impl->width = w;
  impl->height = h;
  return impl;
}

}  // namespace qt

using namespace qt;

void OpenWindow(Window& win, int x, int y, int w, int h, unsigned flags, const std::string& title,
                Handler handler, Form* owner) {
  if (win.IsOpen()) CloseWindow(win);
  win.draw = DrawState{};
  win.handler = std::move(handler);
  ++win.instance;
  FormImpl* impl = NewWindowImpl(win, w, h);
  impl->instance = win.instance;
  impl->owner = owner;
  win.impl = impl;
  QWidget* top = impl->top;
  top->setProperty("vna_record", Q(win.name));
  Qt::WindowFlags wf = Qt::Window | Qt::CustomizeWindowHint;
  if (flags & kWinCaption) wf |= Qt::WindowTitleHint;
  if (flags & kWinSysMenu) wf |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (flags & kWinMin) wf |= Qt::WindowMinimizeButtonHint;
  if (flags & kWinMax) wf |= Qt::WindowMaximizeButtonHint;
  // A window opened from a window that stays on top (its event is being
  // handled) stays on top as well: it would open under it otherwise. Not
  // from a dialog, which stays on top only while such a window is shown.
  const bool from_topmost =
      dynamic_cast<Window*>(msg_form) && msg_form->impl && StaysOnTop(msg_form->impl->top);
  // Nor under a window of the program that stays on top (the Smith chart)
  // when opened from elsewhere (the menu), as long as that one is shown;
  // a window re-created from its own event keeps its own style.
  const bool over_topmost = msg_form != &win && !(flags & kWinHidden) && WindowOnTopShown();
  if ((flags & kWinTopmost) || from_topmost || over_topmost) wf |= Qt::WindowStaysOnTopHint;
  if (flags & kWinToolWindow) wf = (wf & ~Qt::Window) | Qt::Tool | Qt::WindowCloseButtonHint;
  top->setWindowFlags(wf);
  top->setWindowTitle(Q(title));
  top->move(x, y);
  if (flags & kWinSizing) {
    top->resize(w, h);
  } else {
    top->setFixedSize(w, h);
  }
  static_cast<TopWindow*>(top)->Layout();
  if (!(flags & kWinHidden)) top->show();
}

void CloseWindow(Window& win) {
  FormImpl* impl = win.impl;
  if (!impl) return;
  win.impl = nullptr;
  impl->form = nullptr;
  DeleteSoon(impl->top);  // the widget owns impl and frees it with itself
}

void SetTitle(Form& form, const std::string& title) {
  // A dialog's record keeps the title it was defined with: a retitled
  // dialog opens with its own title again next time.
  if (!form.impl || !form.impl->top) return;
  QWidget* top = form.impl->top;
  top->setWindowTitle(Q(title));
  // A dialog retitled is widened as one opened with the title would be.
  const int need = CaptionWidth(Q(title));
  if (form.impl->is_dialog && top->width() < need) {
    if (top->minimumWidth() == top->maximumWidth()) {
      top->setFixedWidth(need);
    } else {
      top->resize(need, top->height());
    }
    form.impl->width = need;
  }
}

std::string GetTitle(const Form& form) {
  if (form.impl && form.impl->top) return S(form.impl->top->windowTitle());
  if (auto* d = dynamic_cast<const Dialog*>(&form)) return d->title;
  return "";
}

void OuterSize(const Window& win, int& w, int& h) {
  w = h = 0;
  if (!win.impl || !win.impl->top) return;
  w = win.impl->top->width();
  h = win.impl->top->height();
}

void ClientSize(const Window& win, int& w, int& h) {
  w = h = 0;
  if (!win.impl || !win.impl->client) return;
  w = win.impl->client->width();
  h = win.impl->client->height();
}

void ScreenPos(const Form& form, int& x, int& y) {
  x = y = 0;
  if (!form.impl || !form.impl->top) return;
  x = form.impl->top->x();
  y = form.impl->top->y();
}

void ScreenSize(int& w, int& h) {
  w = 1920;
  h = 1080;
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    w = s->geometry().width();
    h = s->geometry().height();
  }
}

void WorkArea(int& x, int& y, int& w, int& h) {
  x = y = 0;
  ScreenSize(w, h);
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    x = r.x();
    y = r.y();
    w = r.width();
    h = r.height();
  }
}

void FocusForm(Form& form) {
  if (!form.impl || !form.impl->top) return;
  QWidget* top = form.impl->top;
  // A window disabled under a box or dialog hands the focus on to the one
  // waiting for an answer, as a click on it does: raised above that one,
  // it would hide the question, and it takes no keys.
  if (!top->isEnabled()) {
    if (QWidget* waiting = TopModal()) top = waiting;
  }
  top->raise();
  top->activateWindow();
  top->setFocus();
}

void SetWaitCursor(bool wait) {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  if (wait) QApplication::setOverrideCursor(Qt::WaitCursor);
}

// ---- menus ----

void SetMenuBar(Window& win, std::vector<MenuItem> tops) {
  FormImpl* impl = win.impl;
  if (!impl) return;
  if (impl->menubar) DeleteSoon(impl->menubar);
  impl->actions.clear();
  impl->menu_tree = std::move(tops);
  auto* bar = new QMenuBar(impl->top);
  bar->setNativeMenuBar(false);
  for (const MenuItem& top : impl->menu_tree) {
    if (top.items.empty() && !top.separator && top.id != 0) {
      // A command straight on the bar.
      QAction* a = bar->addAction(Literal(top.caption));
      a->setEnabled(!top.greyed);
      impl->actions.emplace(top.id, a);
      const int id = top.id;
      QObject::connect(a, &QAction::triggered, a,
                       [impl, id] { PostImplEvent(impl, kEvMenu, 0, 0, 0, 0, id); });
      continue;
    }
    QMenu* m = bar->addMenu(Literal(top.caption));
    m->menuAction()->setEnabled(!top.greyed);
    BuildMenu(impl, m, top.items);
  }
  impl->menubar = bar;
  bar->show();
  static_cast<TopWindow*>(impl->top.data())->Layout();
}

void SetMenuCheck(Window& win, int id, bool on) {
  FormImpl* impl = win.impl;
  if (!impl) return;
  SetChecks(impl->menu_tree, id, on);
  auto range = impl->actions.equal_range(id);
  for (auto it = range.first; it != range.second; ++it) {
    // Not the commands straight on the bar: they never carry a mark.
    if (qobject_cast<QMenu*>(it->second->parent())) ShowCheck(it->second, on);
  }
}

const std::vector<MenuItem>& GetMenuBar(const Window& win) {
  static const std::vector<MenuItem> none;
  return win.impl ? win.impl->menu_tree : none;
}

int MenuBarHeight(const Window& win) {
  return (win.impl && win.impl->menubar) ? win.impl->menubar->sizeHint().height() : 0;
}

void AddMenuShortcut(Window& win, const std::string& keys, int menu_id) {
  FormImpl* impl = win.impl;
  if (!impl || !impl->top) return;
  auto* a = new QAction(impl->top);
  a->setShortcut(QKeySequence(Q(keys)));
  a->setShortcutContext(Qt::WindowShortcut);
  impl->top->addAction(a);
  QObject::connect(a, &QAction::triggered, a,
                   [impl, menu_id] { PostImplEvent(impl, kEvMenu, 0, 0, 0, 0, menu_id); });
}

// ---- tool tips ----

namespace {

// Qt asks a widget's style how long the mouse must rest before its tip shows.
class TipDelayStyle : public QProxyStyle {
 public:
  explicit TipDelayStyle(int show_after_ms) : show_after_ms_(show_after_ms) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return show_after_ms_;
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }

 private:
  int show_after_ms_;
};

// Styles are not owned by the widgets that use them: one per delay, kept
// for the life of the process (the table is never destroyed, so no widget
// outlives its style and the styles stay reachable to the end).
QStyle* TipStyle(int show_after_ms) {
  static auto* styles = new std::map<int, QStyle*>;
  QStyle*& s = (*styles)[show_after_ms];
  if (!s) s = new TipDelayStyle(show_after_ms);
  return s;
}

void ApplyTipDelays(FormImpl* impl, Control& c, bool with_visible) {
  const int t = impl->tip_delay_ms;
  if (t < 0 || !c.widget) return;
  c.widget->setStyle(TipStyle(t));
  if (with_visible) c.widget->setToolTipDuration(10 * t);
}

}  // namespace

void AddToolTip(Form& form, int ctl_id, const std::string& text, int width_px, int visible_ms) {
  if (!form.impl) return;
  Control* c = form.impl->Find(ctl_id);
  if (!c || !c->widget) return;
  c->tip = text;
  c->widget->setToolTip(form.impl->tips_active ? TipHtml(text, width_px) : QString());
  c->widget->setToolTipDuration(visible_ms);
  c->widget->setProperty("vna_tip_width", width_px);
  ApplyTipDelays(form.impl, *c, false);
}

void SetToolTipDelays(Form& form, int automatic_ms) {
  if (!form.impl) return;
  form.impl->tip_delay_ms = automatic_ms;
  for (Control& c : form.impl->controls) {
    if (!c.tip.empty()) ApplyTipDelays(form.impl, c, true);
  }
}

bool GetToolTipDelays(const Form& form, int ctl_id, int& show_after_ms, int& visible_ms) {
  show_after_ms = visible_ms = -1;
  const Control* c = form.impl ? form.impl->Find(ctl_id) : nullptr;
  if (!c || !c->widget) return false;
  show_after_ms = c->widget->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, c->widget);
  visible_ms = c->widget->toolTipDuration();
  return true;
}

void ActivateToolTips(Form& form, bool on) {
  if (!form.impl) return;
  form.impl->tips_active = on;
  for (Control& c : form.impl->controls) {
    if (c.tip.empty() || !c.widget) continue;
    const int width = c.widget->property("vna_tip_width").toInt();
    c.widget->setToolTip(on ? TipHtml(c.tip, width > 0 ? width : 500) : QString());
  }
}

std::string GetToolTip(const Form& form, int ctl_id) {
  if (!form.impl) return "";
  const Control* c = form.impl->Find(ctl_id);
  return c ? c->tip : "";
}

}  // namespace vna
