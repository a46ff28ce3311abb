// Qt side of the platform layer; only src/platform/ includes this.
#pragma once

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui.h"

class QEventLoop;
class QMenuBar;
class QAction;
class QButtonGroup;

namespace vna::qt {

inline QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}
inline std::string S(const QString& s) {
  return s.toUtf8().toStdString();
}
inline QColor Color(int packed) {
  return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}
inline int Packed(const QColor& c) {
  return c.red() + 256 * c.green() + 65536 * c.blue();
}
// Captions are shown as they stand: "&" is no mnemonic here.
inline QString Literal(const std::string& s) {
  return Q(s).replace("&", "&&");
}
// CR LF, CR alone and LF alone are all line breaks.
QString NormalizeBreaks(const std::string& s);

// The width a frame needs to show its caption whole ("P... Cal" otherwise):
// the caption in a bold title font, and room for the frame's icon and three
// buttons (a title bar's height each) and its edges. The window manager
// draws the title itself; this is the common measure, a little generous, in
// the application's font. Boxes and dialogs are never narrower.
int CaptionWidth(const QString& caption);

// Fonts at a fixed 96 dpi, so layouts computed from text extents are the same
// on every machine and headless; "arial" is Liberation Sans, "courier"
// Liberation Mono.
QFont MakeFont(const std::string& face, int points, int weight, bool italic);

// Draws a line of the state's pen into a 32-bit image (exclusive-or when the
// state says so) and returns the area it touched.
QRect RasterLine(QImage& img, const DrawState& s, int x1, int y1, int x2, int y2);

// The pixels of a 32-bit image taken once for many lines (taking them costs
// more than a short line); no pixels (a null image or another depth) draws
// nothing. Valid until the image is changed or shared by other means.
struct RasterTarget {
  uchar* bits = nullptr;
  qsizetype stride = 0;
  int width = 0, height = 0;
};
RasterTarget PrepareRaster(QImage& img);
struct LinePen {
  int color, style, width;
  bool xor_mode;
};
QRect RasterLine(const RasterTarget& t, const LinePen& pen, int x1, int y1, int x2, int y2);

}  // namespace vna::qt

namespace vna {

struct Control {
  CtlKind kind;
  int id;
  unsigned flags;
  QPointer<QWidget> widget;
  QWidget* edit = nullptr;  // the text part of a combo box
  QWidget* list = nullptr;  // the list part of a simple combo box
  int text_color = -1, background = -1, hover = -1;
  std::string tip;
};

struct FormImpl {
  Form* form = nullptr;
  int instance = 0;  // the form's instance this widget set belongs to
  bool is_dialog = false;
  QPointer<QWidget> top;     // the top-level widget
  QPointer<QWidget> client;  // where drawing happens and controls live
  QPointer<QMenuBar> menubar;
  QImage image;  // windows: the backing image
  QRect dirty;   // part of the image already queued for a repaint since the last paint
  std::vector<Control> controls;
  std::map<int, QButtonGroup*> radio_groups;
  std::vector<MenuItem> menu_tree;
  std::multimap<int, QAction*> actions;
  Form* owner = nullptr;
  int disabled_by = 0;  // modal dialogs and boxes owned by this form
  QEventLoop* loop = nullptr;
  int result = 2;
  bool finished = false;
  bool scripted = false;  // a test answered it
  bool tips_active = true;
  int tip_delay_ms = -1;  // the automatic tip times' base, -1 = the platform's own
  bool user_moved = false;
  int handler_depth = 0;      // > 0 while this form's handler runs
  int width = 0, height = 0;  // outer size as opened, then as resized
  bool setting_text = false;  // set while the program changes a control, so no event is raised

  Control* Find(int id);
  const Control* Find(int id) const;
};

}  // namespace vna

namespace vna::qt {

// Posts an event raised by this widget set; dropped if the form was closed
// or reopened before it is handled.
void PostImplEvent(FormImpl* impl, int id, int ctl = 0, int wparam = 0, int x = 0, int y = 0,
                   int menu = 0);
// Runs a form's handler for an event now (fields filled, then restored).
void Dispatch(Form* form, int instance, int id, int ctl, int wparam, int x, int y, int menu);
// Runs fn on the dispatcher after the events already posted: never from
// inside a Qt signal or a widget's own event function.
void PostCall(std::function<void()> fn);
// Widgets are deleted by the layer between events, never while delivering one.
void DeleteSoon(QObject* obj);
void DeleteGarbage();

// Owner bookkeeping for modal dialogs and boxes: only the owner is disabled.
void DisableOwner(Form* owner);
void EnableOwner(Form* owner);
QWidget* OwnerWidget(Form* owner);
// Where a box or dialog opened now belongs: the window it stays above
// (transient for), and whether it may be modal for it. Another box or dialog
// waiting for an answer takes it (owned by a window under that one it would
// be blocked and nothing could answer it), and blocks nothing; else the
// window the person works in when that is not the named owner (a chart that
// stays on top of it), and blocks nothing; else the owner. A hidden, closed
// or absent owner leaves the box on its own.
struct BoxParent {
  QWidget* parent = nullptr;
  bool may_block = true;
};
BoxParent ChooseParent(const QWidget* top, Form* owner);
// Tells the window manager where a box or dialog belongs, so it stays above
// that window: transient for it and, for modal runs over their owner,
// window-modal; with the on-top hint when that window stays on top. Call
// before showing it, after DisableOwner. Returns the window (or nullptr).
QWidget* TieToOwner(QWidget* top, Form* owner, bool modal);
// The innermost box or dialog on the screen that waits for an answer, other
// than `except` (nullptr: none).
QWidget* TopModal(const QWidget* except = nullptr);
// Raises a box or dialog just shown and gives it the keyboard focus.
void TakeFocus(QWidget* top);
// A box or dialog waiting for an answer while the object lives.
class ModalGuard {
 public:
  explicit ModalGuard(QWidget* w);
  ~ModalGuard();
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

 private:
  QWidget* w_;
};
// The record name of the window a box or dialog is transient for ("" when
// none), and whether it is window-modal: what the window manager is told.
std::string TransientOwnerName(QWidget* top);
bool IsWindowModal(QWidget* top);
// The window asked the window manager to keep it above other windows.
bool StaysOnTop(const QWidget* top);
// A shown, not minimised window of the program (other than `except`) stays
// on top: what opens now must stay on top too, or it opens under it. Boxes,
// dialogs and the common dialogs follow it.
bool TopmostShown(const QWidget* except);

// Builds one control inside the form's client widget.
void CreateControl(FormImpl* impl, const ControlDef& def);
void FinishDialog(Dialog& dlg, int code);
// Ends every running modal dialog with 2 and every open message box as its
// close box would.
void EndAllModals();
void ApplyScriptedAnswer(Dialog& dlg);

int VirtualKey(int qt_key, Qt::KeyboardModifiers mods);

}  // namespace vna::qt
