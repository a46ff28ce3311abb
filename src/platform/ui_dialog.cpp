// Dialog records, controls by id, modal runs that disable only their owner,
// message boxes and the common dialogs.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

#include <algorithm>
#include <cstdio>

#include "platform/qt_internal.h"
#include "platform/testhook.h"

namespace vna {

int dlg_result = 0;
std::string dlg_text1, dlg_text2, dlg_text3, dlg_text4, dlg_text5, dlg_text6, dlg_text7, dlg_text8,
    dlg_text9, dlg_text10;

std::string& DlgText(int n) {
  static std::string* const texts[] = {&dlg_text1, &dlg_text2, &dlg_text3, &dlg_text4, &dlg_text5,
                                       &dlg_text6, &dlg_text7, &dlg_text8, &dlg_text9, &dlg_text10};
  static std::string spare;
  if (n < 1 || n > 10) return spare;
  return *texts[n - 1];
}

Control* FormImpl::Find(int id) {
  for (Control& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}
const Control* FormImpl::Find(int id) const {
  for (const Control& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

namespace qt {

QWidget* OwnerWidget(Form* owner) {
  if (!owner || !owner->impl) return nullptr;
  return owner->impl->top;
}

void DisableOwner(Form* owner) {
  if (!owner || !owner->impl) return;
  if (owner->impl->disabled_by++ == 0 && owner->impl->top) owner->impl->top->setEnabled(false);
}

void EnableOwner(Form* owner) {
  if (!owner || !owner->impl) return;
  if (owner->impl->disabled_by > 0 && --owner->impl->disabled_by == 0 && owner->impl->top)
    owner->impl->top->setEnabled(true);
}

namespace {

// The window of every top-level widget in the chain of transient parents,
// starting with w's own.
std::vector<QWindow*> TransientChain(QWindow* w) {
  std::vector<QWindow*> chain;
  for (; w; w = w->transientParent()) chain.push_back(w);
  return chain;
}

// A window-modal box blocks, in Qt and in the window manager, every window
// that shares an ancestor with it, not only its owner: a second dialog of
// the same owner would be frozen too. Then the box is only transient.
bool WouldBlockOthers(QWidget* top, QWidget* owner) {
  const std::vector<QWindow*> owners = TransientChain(owner->windowHandle());
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == top || w == owner || !w->isVisible() || !w->isEnabled() || !w->windowHandle())
      continue;
    for (QWindow* a : TransientChain(w->windowHandle())) {
      if (std::find(owners.begin(), owners.end(), a) != owners.end()) return true;
    }
  }
  return false;
}

}  // namespace

void TieToOwner(QWidget* top, Form* owner, bool modal) {
  QWidget* ow = OwnerWidget(owner);
  // A hidden owner (hidden_win) has no window to stay above, and a box modal
  // for nothing would freeze every window of the program.
  const bool tied = ow && ow->isVisible();
  // Set before the native window exists, which takes it over only then.
  top->setWindowModality(tied && modal && !WouldBlockOthers(top, ow) ? Qt::WindowModal
                                                                     : Qt::NonModal);
  if (!tied) return;
  top->winId();  // the native windows, so the relation reaches the window manager
  ow->winId();
  top->windowHandle()->setTransientParent(ow->windowHandle());
}

std::string TransientOwnerName(QWidget* top) {
  QWindow* tp = top && top->windowHandle() ? top->windowHandle()->transientParent() : nullptr;
  if (!tp) return "";
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowHandle() == tp) return S(w->property("vna_record").toString());
  }
  return "?";
}

bool StaysOnTop(const QWidget* top) {
  return top && (top->windowFlags() & Qt::WindowStaysOnTopHint);
}

bool TopmostShown(const QWidget* except) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != except && w->isVisible() && !w->isMinimized() && StaysOnTop(w)) return true;
  }
  return false;
}

bool IsWindowModal(QWidget* top) {
  return top && top->windowHandle() && top->windowHandle()->modality() == Qt::WindowModal;
}

namespace {

class DialogWidget : public QDialog {
 public:
  explicit DialogWidget(FormImpl* impl) : QDialog(nullptr), impl_(impl) {}
  ~DialogWidget() override { delete impl_; }

  // The close box and Esc: a modal dialog ends with 2 and its handler hears
  // nothing; a modeless one hears a close request.
  void CloseBox() {
    if (!impl_->form) return;
    auto* dlg = static_cast<Dialog*>(impl_->form);
    if (dlg->modeless) {
      PostImplEvent(impl_, kEvClose);
    } else {
      FinishDialog(*dlg, 2);
    }
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    CloseBox();
  }
  void reject() override { CloseBox(); }
  void accept() override {}
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) {
      CloseBox();
      return;
    }
    QDialog::keyPressEvent(e);
  }

 private:
  FormImpl* impl_;
};

class ClickLabel : public QLabel {
 public:
  ClickLabel(QWidget* parent, FormImpl* impl, int id, bool reports)
      : QLabel(parent), impl_(impl), id_(id), reports_(reports) {}

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (reports_) PostImplEvent(impl_, kEvCommand, id_);
    QLabel::mousePressEvent(e);
  }

 private:
  FormImpl* impl_;
  int id_;
  bool reports_;
};

// An edit field with its list always shown beneath it.
class SimpleCombo : public QWidget {
 public:
  SimpleCombo(QWidget* parent, int w, int h) : QWidget(parent) {
    edit = new QLineEdit(this);
    list = new QListWidget(this);
    const int eh = std::min(h, 21);
    edit->setGeometry(0, 0, w, eh);
    list->setGeometry(0, eh, w, std::max(0, h - eh));
  }
  QLineEdit* edit;
  QListWidget* list;
};

void StyleButton(Control& c) {
  auto* b = qobject_cast<QPushButton*>(c.widget.data());
  if (!b) return;
  if (c.text_color < 0 && c.background < 0 && c.hover < 0) {
    b->setStyleSheet(QString());
    return;
  }
  QString css = "QPushButton{border:1px solid #404040;";
  if (c.background >= 0) css += "background-color:" + Color(c.background).name() + ";";
  if (c.text_color >= 0) css += "color:" + Color(c.text_color).name() + ";";
  css += "}";
  if (c.hover >= 0) css += "QPushButton:hover{background-color:" + Color(c.hover).name() + ";}";
  b->setStyleSheet(css);
}

// The innermost group box around a radio button makes its choice group.
int RadioGroupKey(FormImpl* impl, const ControlDef& def) {
  int best = 0;
  long best_area = -1;
  const QRect r(def.x, def.y, def.w, def.h);
  for (const Control& c : impl->controls) {
    if (c.kind != CtlKind::GroupBox || !c.widget) continue;
    const QRect g = c.widget->geometry();
    if (!g.contains(r.center())) continue;
    const long area = static_cast<long>(g.width()) * g.height();
    if (best_area < 0 || area < best_area) {
      best_area = area;
      best = c.id;
    }
  }
  return best;
}

// Tab visits only the controls marked as tab stops; the others still take
// the focus when clicked, so a field can always be typed into.
void SetTabStop(Control& c, bool tab_stop) {
  const Qt::FocusPolicy policy = tab_stop ? Qt::StrongFocus : Qt::ClickFocus;
  switch (c.kind) {
    case CtlKind::Static:
    case CtlKind::GroupBox:
      return;
    case CtlKind::ComboSimple:
      c.edit->setFocusPolicy(policy);
      c.list->setFocusPolicy(Qt::ClickFocus);
      return;
    case CtlKind::ComboDropDown:
      c.widget->setFocusPolicy(policy);
      c.edit->setFocusPolicy(policy);
      return;
    default:
      c.widget->setFocusPolicy(policy);
  }
}

// The first tab stop has the focus when a dialog opens; without one, the
// first field that takes text, so typing goes where a person expects.
void SetInitialFocus(FormImpl* impl) {
  const Control* first_field = nullptr;
  for (const Control& c : impl->controls) {
    if (!c.widget) continue;
    if ((c.flags & kCtlTabStop) && c.kind != CtlKind::Static && c.kind != CtlKind::GroupBox) {
      (c.edit ? c.edit : c.widget.data())->setFocus();
      return;
    }
    const bool takes_text = c.kind == CtlKind::Edit || c.kind == CtlKind::RichEdit ||
                            c.kind == CtlKind::ComboSimple || c.kind == CtlKind::ComboDropDown;
    if (takes_text && !first_field) first_field = &c;
  }
  if (first_field) (first_field->edit ? first_field->edit : first_field->widget.data())->setFocus();
}

}  // namespace

void CreateControl(FormImpl* impl, const ControlDef& def) {
  if (impl->Find(def.id) && def.id != 0) return;  // an existing id changes nothing
  QWidget* parent = impl->client;
  Control c{def.kind, def.id, def.flags, nullptr, nullptr, nullptr, -1, -1, -1, {}};
  const int id = def.id;
  const bool on_dialog = impl->is_dialog;
  switch (def.kind) {
    case CtlKind::Button: {
      auto* b = new QPushButton(Literal(def.text), parent);
      b->setAutoDefault(false);
      b->setDefault(def.flags & kCtlDefault);
      if (!on_dialog) b->setFocusPolicy(Qt::NoFocus);  // keys stay with the window
      QObject::connect(b, &QPushButton::clicked, b,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      c.widget = b;
      break;
    }
    case CtlKind::CheckBox: {
      auto* b = new QCheckBox(Literal(def.text), parent);
      if (def.flags & kCtlTextLeft) b->setLayoutDirection(Qt::RightToLeft);
      if (!on_dialog) b->setFocusPolicy(Qt::NoFocus);
      QObject::connect(b, &QCheckBox::clicked, b,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      c.widget = b;
      break;
    }
    case CtlKind::Radio: {
      auto* b = new QRadioButton(Literal(def.text), parent);
      b->setAutoExclusive(false);
      const int key = RadioGroupKey(impl, def);
      QButtonGroup*& group = impl->radio_groups[key];
      if (!group) {
        group = new QButtonGroup(parent);
        group->setExclusive(true);
      }
      group->addButton(b);
      QObject::connect(b, &QRadioButton::clicked, b,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      c.widget = b;
      break;
    }
    case CtlKind::Edit:
    case CtlKind::RichEdit: {
      if ((def.flags & kCtlMultiLine) || def.kind == CtlKind::RichEdit) {
        auto* e = new QPlainTextEdit(parent);
        e->setPlainText(Q(def.text));
        e->setReadOnly(def.flags & kCtlReadOnly);
        if (!(def.flags & kCtlScrollBars))
          e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        else
          e->setLineWrapMode(QPlainTextEdit::NoWrap);
        QObject::connect(e, &QPlainTextEdit::textChanged, e, [impl, id] {
          if (!impl->setting_text) PostImplEvent(impl, kEvCommand, id);
        });
        c.widget = e;
      } else {
        auto* e = new QLineEdit(Q(def.text), parent);
        e->setReadOnly(def.flags & kCtlReadOnly);
        QObject::connect(e, &QLineEdit::textEdited, e,
                         [impl, id] { PostImplEvent(impl, kEvCommand, id); });
        c.widget = e;
      }
      break;
    }
    case CtlKind::ComboSimple: {
      auto* sc = new SimpleCombo(parent, def.w, def.h);
      sc->edit->setText(Q(def.text));
      QLineEdit* edit = sc->edit;
      QObject::connect(sc->edit, &QLineEdit::textEdited, sc,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      QObject::connect(sc->list, &QListWidget::itemClicked, sc,
                       [impl, id, edit](QListWidgetItem* it) {
                         edit->setText(it->text());
                         PostImplEvent(impl, kEvCommand, id);
                       });
      c.widget = sc;
      c.edit = sc->edit;
      c.list = sc->list;
      break;
    }
    case CtlKind::ComboDropDown: {
      auto* cb = new QComboBox(parent);
      cb->setEditable(true);
      cb->setInsertPolicy(QComboBox::NoInsert);
      cb->setEditText(Q(def.text));
      cb->view()->setMinimumHeight(151);
      QObject::connect(cb, &QComboBox::activated, cb,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, cb,
                       [impl, id] { PostImplEvent(impl, kEvCommand, id); });
      c.widget = cb;
      c.edit = cb->lineEdit();
      break;
    }
    case CtlKind::Static: {
      auto* l = new ClickLabel(parent, impl, id, !(def.flags & kCtlPlain));
      l->setTextFormat(Qt::PlainText);
      l->setWordWrap(false);
      l->setText(NormalizeBreaks(def.text));
      l->setAlignment((def.flags & kCtlCentered) ? Qt::AlignHCenter | Qt::AlignTop
                                                 : Qt::AlignLeft | Qt::AlignTop);
      c.widget = l;
      break;
    }
    case CtlKind::GroupBox: {
      auto* g = new QGroupBox(Literal(def.text), parent);
      g->setAttribute(Qt::WA_TransparentForMouseEvents);
      c.widget = g;
      break;
    }
  }
  c.widget->setGeometry(def.x, def.y, def.w, def.h);
  if (def.kind == CtlKind::GroupBox) c.widget->lower();
  if (on_dialog) SetTabStop(c, def.flags & kCtlTabStop);
  c.widget->show();
  impl->controls.push_back(c);
}

namespace {
// What is waiting for a person now, so a request to end can close it.
std::vector<Dialog*> g_running_modals;
std::vector<QPointer<QMessageBox>> g_open_boxes;
}  // namespace

void EndAllModals() {
  for (Dialog* d : std::vector<Dialog*>(g_running_modals)) FinishDialog(*d, 2);
  for (const QPointer<QMessageBox>& box : std::vector<QPointer<QMessageBox>>(g_open_boxes))
    if (box) box->close();
}

void FinishDialog(Dialog& dlg, int code) {
  FormImpl* impl = dlg.impl;
  if (!impl || impl->finished) return;
  impl->finished = true;
  impl->result = code;
  dlg.close_code = -1;
  if (impl->loop) {
    impl->loop->quit();
    return;  // RunModal tears the widgets down
  }
  // A modeless dialog goes at once.
  dlg.impl = nullptr;
  dlg.modeless = false;
  impl->form = nullptr;
  DeleteSoon(impl->top);
}

int CaptionWidth(const QString& caption) {
  QFont f = QApplication::font();
  f.setBold(true);
  const QFontMetrics fm(f);
  return fm.horizontalAdvance(caption.trimmed()) + 4 * (fm.height() + 8) + 16;
}

namespace {

FormImpl* NewDialogImpl(Dialog& dlg, Form* owner) {
  auto* impl = new FormImpl;
  impl->form = &dlg;
  impl->is_dialog = true;
  impl->owner = owner;
  ++dlg.instance;
  impl->instance = dlg.instance;
  auto* w = new DialogWidget(impl);
  w->setProperty("vna_record", Q(dlg.name));
  impl->top = w;
  impl->client = w;
  Qt::WindowFlags wf = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (dlg.style & kDlgCloseBox) wf |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (TopmostShown(w)) wf |= Qt::WindowStaysOnTopHint;
  w->setWindowFlags(wf);
  w->setWindowTitle(Q(dlg.title));
  // Wider than defined when the caption needs it; the controls keep their
  // places.
  const int width = std::max(dlg.width, CaptionWidth(Q(dlg.title)));
  if (dlg.style & kDlgSizing) {
    w->resize(width, dlg.height);
  } else {
    w->setFixedSize(width, dlg.height);
  }
  impl->width = width;
  impl->height = dlg.height;
  dlg.impl = impl;
  dlg.close_code = -1;
  for (const ControlDef& def : dlg.controls) CreateControl(impl, def);
  SetInitialFocus(impl);
  return impl;
}

}  // namespace

void ApplyScriptedAnswer(Dialog& dlg) {
  if (!dlg.impl || dlg.impl->finished) return;
  testhook::Answer a;
  if (!testhook::TakeAnswer(a)) {
    FinishDialog(dlg, 2);
    return;
  }
  dlg.impl->scripted = true;
  if (a.act) a.act();
  if (!dlg.impl || dlg.impl->finished) return;
  // The caption a person sees: a handler may have retitled the dialog.
  const std::string shown = GetTitle(dlg);
  if (!a.caption.empty() && a.caption != shown)
    testhook::AddProblem("dialog \"" + shown + "\" got the answer meant for \"" + a.caption + "\"");
  FormImpl* impl = dlg.impl;
  for (auto& [id, text] : a.texts) {
    Control* c = impl->Find(id);
    if (!c) {
      testhook::AddProblem("dialog \"" + shown + "\" has no control " + std::to_string(id));
      continue;
    }
    SetCtlText(dlg, id, text);
    PostImplEvent(impl, kEvCommand, id);  // a person typing raises a change
  }
  for (auto& [id, on] : a.checks) {
    Control* c = impl->Find(id);
    auto* b = c ? qobject_cast<QAbstractButton*>(c->widget.data()) : nullptr;
    if (!b) {
      testhook::AddProblem("dialog \"" + shown + "\" has no check box " + std::to_string(id));
      continue;
    }
    if (b->isChecked() != on) b->click();
  }
  if (a.close_box) {
    PostCall([&dlg, inst = dlg.instance] {
      if (dlg.impl && dlg.instance == inst)
        static_cast<DialogWidget*>(dlg.impl->top.data())->CloseBox();
    });
  } else {
    Control* c = impl->Find(a.press);
    auto* b = c ? qobject_cast<QAbstractButton*>(c->widget.data()) : nullptr;
    if (b) {
      b->click();
    } else if (c) {
      PostImplEvent(impl, kEvCommand, a.press);
    } else {
      testhook::AddProblem("dialog \"" + shown + "\" has no control " + std::to_string(a.press) +
                           " to press");
    }
  }
  // Still open once that press has been handled (a refused value, say): the
  // next queued answer serves the same dialog, as a person would try again.
  PostCall([&dlg, inst = dlg.instance] {
    if (dlg.impl && dlg.instance == inst && !dlg.impl->finished) ApplyScriptedAnswer(dlg);
  });
}

}  // namespace qt

using namespace qt;

void DefineDialog(Dialog& dlg, const std::string& title, int w, int h, unsigned style,
                  Handler handler, std::vector<ControlDef> controls) {
  dlg.defined = true;
  dlg.title = title;
  dlg.width = w;
  dlg.height = h;
  dlg.style = style;
  dlg.handler = std::move(handler);
  dlg.controls = std::move(controls);
}

int RunModal(Dialog& dlg, Form* owner) {
  if (!dlg.defined || !PlatformReady()) {
    dlg_result = 0;
    return 0;
  }
  if (EndRequested()) {
    // The program is ending: answered as by the close box, without showing.
    testhook::LogDialog({dlg.title, 2, false, {}});
    dlg_result = 2;
    return 2;
  }
  if (dlg.IsOpen()) {
    // Already on screen (a second request while it waits): bring it forward.
    FocusForm(dlg);
    dlg_result = 2;
    return 2;
  }
  FormImpl* impl = NewDialogImpl(dlg, owner);
  DisableOwner(owner);
  QWidget* top = impl->top;
  TieToOwner(top, owner, true);
  top->show();
  const testhook::OwnerTie tie{TransientOwnerName(top), IsWindowModal(top), StaysOnTop(top)};
  CenterDialog(dlg);
  PostImplEvent(impl, kEvInitDialog);
  if (testhook::Enabled())
    PostCall([&dlg, inst = dlg.instance] {
      if (dlg.impl && dlg.instance == inst) ApplyScriptedAnswer(dlg);
    });
  QEventLoop loop;
  impl->loop = &loop;
  g_running_modals.push_back(&dlg);
  if (!impl->finished) loop.exec();
  std::erase(g_running_modals, &dlg);
  impl->loop = nullptr;
  const int code = impl->result;
  testhook::LogDialog({GetTitle(dlg), code, impl->scripted, tie});
  dlg.impl = nullptr;
  impl->form = nullptr;
  EnableOwner(owner);
  DeleteSoon(top);
  if (owner && owner->impl && owner->impl->top) owner->impl->top->activateWindow();
  dlg_result = code;
  return code;
}

void ShowModeless(Dialog& dlg, Form* owner) {
  if (!dlg.defined || !PlatformReady()) return;
  if (dlg.IsOpen()) {
    FocusForm(dlg);
    return;
  }
  dlg.modeless = true;
  FormImpl* impl = NewDialogImpl(dlg, owner);
  TieToOwner(impl->top, owner, false);
  impl->top->show();
  CenterDialog(dlg);
  PostImplEvent(impl, kEvInitDialog);
}

void CloseDialog(Dialog& dlg, int code) {
  if (!dlg.impl) return;
  if (dlg.impl->handler_depth > 0) {
    dlg.close_code = code;  // acted on when the handler returns
  } else {
    FinishDialog(dlg, code);
  }
}

void CenterDialog(Dialog& dlg) {
  if (!dlg.impl || !dlg.impl->top) return;
  int ax, ay, aw, ah;
  WorkArea(ax, ay, aw, ah);
  QRect area(ax, ay, aw, ah);
  QRect over = area;
  QWidget* ow = OwnerWidget(dlg.impl->owner);
  if (ow && ow->isVisible() && !ow->isMinimized()) over = ow->frameGeometry();
  QWidget* top = dlg.impl->top;
  int x = over.x() + (over.width() - top->width()) / 2;
  int y = over.y() + (over.height() - top->height()) / 2;
  x = std::max(area.left(), std::min(x, area.right() - top->width()));
  y = std::max(area.top(), std::min(y, area.bottom() - top->height()));
  top->move(x, y);
}

// ---- controls ----

void AddControl(Form& form, const ControlDef& def) {
  if (!form.impl) return;
  CreateControl(form.impl, def);
}

void AddWindowControl(Form& form, CtlKind kind, const std::string& text, int x, int y, int w, int h,
                      int id) {
  AddControl(form, {kind, text, x, y, w, h, kind == CtlKind::Static ? kCtlPlain : 0u, id});
}

bool HasControl(const Form& form, int id) {
  return form.impl && form.impl->Find(id);
}

void SetCtlText(Form& form, int id, const std::string& text) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c || !c->widget) return;
  form.impl->setting_text = true;
  QWidget* w = c->widget;
  if (c->edit) {
    static_cast<QLineEdit*>(c->edit)->setText(Q(text));
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(Q(text));
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    p->setPlainText(NormalizeBreaks(text));
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(NormalizeBreaks(text));
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(Literal(text));
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(Literal(text));
  }
  form.impl->setting_text = false;
}

std::string GetCtlText(const Form& form, int id) {
  if (!form.impl) return "";
  const Control* c = form.impl->Find(id);
  if (!c || !c->widget) return "";
  QWidget* w = c->widget;
  if (c->edit) return S(static_cast<QLineEdit*>(c->edit)->text());
  if (auto* e = qobject_cast<QLineEdit*>(w)) return S(e->text());
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    // Lines come back with CR LF, as the program writes them.
    return S(p->toPlainText().replace("\n", "\r\n"));
  }
  if (auto* l = qobject_cast<QLabel*>(w)) return S(l->text());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return S(b->text().replace("&&", "&"));
  if (auto* g = qobject_cast<QGroupBox*>(w)) return S(g->title().replace("&&", "&"));
  return "";
}

void SetCheck(Form& form, int id, bool on) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c) return;
  if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data())) b->setChecked(on);
}

bool GetCheck(const Form& form, int id) {
  if (!form.impl) return false;
  const Control* c = form.impl->Find(id);
  auto* b = c ? qobject_cast<QAbstractButton*>(c->widget.data()) : nullptr;
  return b && b->isChecked();
}

void ComboAdd(Form& form, int id, const std::string& text) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c) return;
  if (c->list)
    static_cast<QListWidget*>(c->list)->addItem(Q(text));
  else if (auto* cb = qobject_cast<QComboBox*>(c->widget.data())) {
    const QString keep = cb->currentText();
    cb->addItem(Q(text));
    cb->setEditText(keep);
  }
}

std::vector<std::string> ComboItems(const Form& form, int id) {
  std::vector<std::string> items;
  const Control* c = form.impl ? form.impl->Find(id) : nullptr;
  if (!c) return items;
  if (c->list) {
    auto* list = static_cast<QListWidget*>(c->list);
    for (int i = 0; i < list->count(); ++i) items.push_back(S(list->item(i)->text()));
  } else if (auto* cb = qobject_cast<QComboBox*>(c->widget.data())) {
    for (int i = 0; i < cb->count(); ++i) items.push_back(S(cb->itemText(i)));
  }
  return items;
}

void ComboClear(Form& form, int id) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c) return;
  if (c->list)
    static_cast<QListWidget*>(c->list)->clear();
  else if (auto* cb = qobject_cast<QComboBox*>(c->widget.data()))
    cb->clear();
}

void EnableCtl(Form& form, int id, bool on) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (c && c->widget) c->widget->setEnabled(on);
}

void ShowCtl(Form& form, int id, bool on) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (c && c->widget) c->widget->setVisible(on);
}

bool IsCtlEnabled(const Form& form, int id) {
  if (!form.impl) return false;
  const Control* c = form.impl->Find(id);
  return c && c->widget && c->widget->isEnabled();
}

bool GetCtlRect(const Form& form, int id, int& x, int& y, int& w, int& h) {
  x = y = w = h = -1;
  if (!form.impl) return false;
  const Control* c = form.impl->Find(id);
  if (!c || !c->widget) return false;
  const QRect r = c->widget->geometry();
  x = r.x();
  y = r.y();
  w = r.width();
  h = r.height();
  return true;
}

void GetCtlColors(const Form& form, int id, int& text, int& background, int& hover) {
  text = background = hover = -1;
  if (!form.impl) return;
  const Control* c = form.impl->Find(id);
  if (!c) return;
  text = c->text_color;
  background = c->background;
  hover = c->hover;
}

void SetCtlFont(Form& form, int id, const std::string& face, int points, int weight) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (c && c->widget) c->widget->setFont(MakeFont(face, points, weight, false));
}

void SetCtlColors(Form& form, int id, int text, int background, int hover) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c || !c->widget) return;
  c->text_color = text;
  c->background = background;
  c->hover = hover;
  if (c->kind == CtlKind::Button) {
    StyleButton(*c);
    return;
  }
  QWidget* w = c->widget;
  QPalette pal = w->palette();
  if (text >= 0) {
    pal.setColor(QPalette::WindowText, Color(text));
    pal.setColor(QPalette::Text, Color(text));
  }
  if (background >= 0) {
    pal.setColor(QPalette::Window, Color(background));
    pal.setColor(QPalette::Base, Color(background));
    w->setAutoFillBackground(true);
  }
  w->setPalette(pal);
}

void SetCtlFocus(Form& form, int id) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c || !c->widget) return;
  (c->edit ? c->edit : c->widget.data())->setFocus();
}

void MoveCtl(Form& form, int id, int x, int y, int w, int h) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (c && c->widget) c->widget->setGeometry(x, y, w, h);
}

namespace {

// Characters of a multi-line field as its text reads back: each line break
// is CR LF.
int CrLfLength(const QPlainTextEdit* e) {
  const QString t = e->toPlainText();
  return static_cast<int>(t.size() + t.count('\n'));
}

// Takes back what a person typed or pasted beyond the limit: the characters
// just before the cursor, which are the ones that came last.
void EnforceLimit(FormImpl* impl, QPlainTextEdit* e) {
  const int limit = e->property("vna_limit").toInt();
  const int over = CrLfLength(e) - limit;
  if (limit <= 0 || over <= 0 || impl->setting_text) return;
  QTextCursor cur = e->textCursor();
  const int end = cur.position();
  int start = end;
  for (int excess = over; excess > 0 && start > 0; --start) {
    excess -= e->document()->characterAt(start - 1) == QChar::ParagraphSeparator ? 2 : 1;
  }
  cur.setPosition(start);
  cur.setPosition(end, QTextCursor::KeepAnchor);
  cur.removeSelectedText();
  e->setTextCursor(cur);
}

}  // namespace

void SetCtlTextLimit(Form& form, int id, int max_chars) {
  if (!form.impl) return;
  Control* c = form.impl->Find(id);
  if (!c || !c->widget) return;
  if (auto* l = qobject_cast<QLineEdit*>(c->edit ? c->edit : c->widget.data())) {
    l->setMaxLength(max_chars);
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget.data())) {
    const bool connected = e->property("vna_limit").isValid();
    e->setProperty("vna_limit", max_chars);
    FormImpl* impl = form.impl;
    if (!connected)
      QObject::connect(e, &QPlainTextEdit::textChanged, e, [impl, e] { EnforceLimit(impl, e); });
  }
}

void RemoveControl(Form& form, int id) {
  if (!form.impl) return;
  auto& cs = form.impl->controls;
  for (auto it = cs.begin(); it != cs.end(); ++it) {
    if (it->id == id) {
      DeleteSoon(it->widget);
      cs.erase(it);
      return;
    }
  }
}

// ---- message boxes ----

namespace {

struct BoxButton {
  int id;
  QMessageBox::StandardButton qt;
};

std::vector<BoxButton> BoxButtons(int buttons) {
  switch (buttons) {
    case kMbOkCancel:
      return {{kIdOk, QMessageBox::Ok}, {kIdCancel, QMessageBox::Cancel}};
    case kMbAbortRetryIgnore:
      return {{kIdAbort, QMessageBox::Abort},
              {kIdRetry, QMessageBox::Retry},
              {kIdIgnore, QMessageBox::Ignore}};
    case kMbYesNo:
      return {{kIdYes, QMessageBox::Yes}, {kIdNo, QMessageBox::No}};
    default:
      return {{kIdOk, QMessageBox::Ok}};
  }
}

// Closing a box without a button: never a Yes.
int EscapeId(int buttons) {
  switch (buttons) {
    case kMbOkCancel:
      return kIdCancel;
    case kMbAbortRetryIgnore:
      return kIdIgnore;
    case kMbYesNo:
      return kIdNo;
    default:
      return kIdOk;
  }
}

}  // namespace

int MsgBox(Form* owner, const std::string& text, const std::string& caption, int buttons, int icon,
           bool topmost, int default_button) {
  testhook::MsgBoxRecord rec{
      owner ? owner->name : "", caption, text, buttons, icon, topmost, 0, false, {}};
  const auto list = BoxButtons(buttons);
  int def = default_button ? default_button : list.front().id;
  if (!PlatformReady()) {
    // No window system (a program that only loads the library): nobody can
    // answer, so the box counts as closed and its text goes to stderr.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    rec.result = EscapeId(buttons);
    testhook::LogMsgBox(rec);
    return rec.result;
  }
  if (EndRequested()) {
    // The program is ending: answered as by the close box, without showing.
    rec.result = EscapeId(buttons);
    testhook::LogMsgBox(rec);
    return rec.result;
  }
  QMessageBox box;
  box.setWindowTitle(Q(caption));
  box.setText(NormalizeBreaks(text));
  box.setTextFormat(Qt::PlainText);
  switch (icon) {
    case kIconExclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case kIconInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case kIconQuestion:
      box.setIcon(QMessageBox::Question);
      break;
    case kIconError:
      box.setIcon(QMessageBox::Critical);
      break;
    default:
      box.setIcon(QMessageBox::NoIcon);
  }
  std::map<QAbstractButton*, int> ids;
  for (const BoxButton& b : list) {
    QAbstractButton* qb = box.addButton(b.qt);
    ids[qb] = b.id;
    if (b.id == def) box.setDefaultButton(static_cast<QPushButton*>(qb));
    if (b.id == EscapeId(buttons)) box.setEscapeButton(qb);
  }
  // A box is never narrower than its caption needs (it sizes itself to its
  // text alone). After the icon and the buttons: setting those lays the box
  // out anew.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(CaptionWidth(Q(caption)), 0, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (topmost || TopmostShown(&box)) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  DisableOwner(owner);
  TieToOwner(&box, owner, true);
  box.show();
  rec.tie = {TransientOwnerName(&box), IsWindowModal(&box), StaysOnTop(&box)};
  if (testhook::Enabled()) {
    testhook::Answer a;
    int press = def;
    if (testhook::TakeAnswer(a)) {
      rec.scripted = true;
      if (a.act) a.act();
      if (!a.caption.empty() && a.caption != caption)
        testhook::AddProblem("message box \"" + caption + "\" got the answer meant for \"" +
                             a.caption + "\"");
      press = a.close_box ? 0 : a.press;
    } else if (testhook::StandingAnswer(caption, press)) {
      rec.scripted = true;
    }
    QPointer<QMessageBox> pbox(&box);
    PostCall([pbox, press, ids, buttons] {
      if (!pbox) return;
      for (auto& [qb, id] : ids) {
        if (id == press) {
          qb->click();
          return;
        }
      }
      if (press != 0)
        testhook::AddProblem("message box \"" + S(pbox->windowTitle()) + "\" has no button " +
                             std::to_string(press));
      pbox->close();  // the close box
      (void)buttons;
    });
  }
  QPointer<QMessageBox> self(&box);
  g_open_boxes.push_back(self);
  QEventLoop loop;
  QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
  if (box.isVisible()) loop.exec();
  std::erase(g_open_boxes, self);
  EnableOwner(owner);
  int result = EscapeId(buttons);
  if (QAbstractButton* clicked = box.clickedButton()) {
    auto it = ids.find(clicked);
    if (it != ids.end()) result = it->second;
  }
  rec.result = result;
  testhook::LogMsgBox(rec);
  return result;
}

// ---- common dialogs ----

namespace {

QStringList FilterList(const std::string& filter) {
  // "desc|pattern|desc|pattern||" -> "desc (pattern)"
  QStringList parts = Q(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty() && parts[i + 1].isEmpty()) break;
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    out << parts[i] + " (" + pattern + ")";
  }
  return out;
}

}  // namespace

std::string FileDialog(const std::string& title, Form* owner, bool save, const std::string& filter,
                       const std::string& default_ext, const std::string& start_folder,
                       bool confirm_overwrite) {
  testhook::FileDialogRecord rec{title,
                                 filter,
                                 default_ext,
                                 start_folder,
                                 save,
                                 "",
                                 owner && owner->IsOpen() ? owner->name : "",
                                 !save || confirm_overwrite,
                                 TopmostShown(nullptr)};
  if (testhook::Enabled() || !PlatformReady()) {
    std::string path;
    testhook::TakeFileAnswer(path);
    rec.result = path;
    testhook::LogFileDialog(rec);
    return path;
  }
  QFileDialog dlg(OwnerWidget(owner), Q(title), Q(start_folder));
  dlg.setNameFilters(FilterList(filter));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::AnyFile);
  // "vcal|chan1": each filter has its own default extension.
  const QStringList exts = Q(default_ext).split('|');
  if (!exts.front().isEmpty()) dlg.setDefaultSuffix(exts.front());
  const QStringList filters = FilterList(filter);
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                   [&dlg, exts, filters](const QString& f) {
                     const qsizetype i = filters.indexOf(f);
                     if (i >= 0 && i < exts.size() && !exts[i].isEmpty())
                       dlg.setDefaultSuffix(exts[i]);
                   });
  if (rec.stays_on_top) {
    // A native dialog would take no stacking hint.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (!confirm_overwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  dlg.setOption(QFileDialog::ReadOnly, false);
  std::string path;
  if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
    path = S(dlg.selectedFiles().front());
  rec.result = path;
  testhook::LogFileDialog(rec);
  return path;
}

int ColorPicker(Form* owner, int start_color) {
  if (testhook::Enabled() || !PlatformReady()) {
    int c = -1;
    testhook::TakeColorAnswer(c);
    return c;
  }
  QColorDialog dlg(Color(start_color), OwnerWidget(owner));
  if (TopmostShown(nullptr)) {
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (dlg.exec() != QDialog::Accepted) return -1;
  const QColor c = dlg.selectedColor();
  return c.isValid() ? Packed(c) : -1;
}

}  // namespace vna
