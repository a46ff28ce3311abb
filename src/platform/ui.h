// Windows, dialogs, controls, menus, message boxes, tool tips and the common
// dialogs, shaped after what the program's handlers expect: records that
// outlive their on-screen widgets, controls addressed by id, events delivered
// as ids through the fields of events.h.
#pragma once

#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/events.h"

namespace vna {

struct FormImpl;  // the Qt side, present while the form is on screen

enum class CtlKind {
  Button,
  CheckBox,
  Radio,
  Edit,
  RichEdit,
  ComboSimple,
  ComboDropDown,
  Static,
  GroupBox
};

// Control flags.
enum : unsigned {
  kCtlDefault = 1u << 0,     // push button pressed by Enter
  kCtlTextLeft = 1u << 1,    // check box with its text left of the box
  kCtlMultiLine = 1u << 2,   // edit field
  kCtlReadOnly = 1u << 3,    // edit field
  kCtlCentered = 1u << 4,    // static text
  kCtlPlain = 1u << 5,       // static text that does not report clicks
  kCtlScrollBars = 1u << 6,  // multi-line edit with both scroll bars (editor)
  kCtlTabStop = 1u << 7,     // on dialogs: Tab visits it (the others take the focus by click only)
};

struct ControlDef {
  CtlKind kind = CtlKind::Static;
  std::string text;
  int x = 0, y = 0, w = 0, h = 0;
  unsigned flags = 0;
  int id = 0;
};

// What a window or a dialog shares: its handler, its widget while open, its
// controls by id.
struct Form {
  explicit Form(std::string n) : name(std::move(n)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;
  std::string name;  // the record's name, used in logs and dumps
  Handler handler;
  FormImpl* impl = nullptr;
  int instance = 0;  // counts opens, so events of a closed instance are dropped
  bool IsOpen() const { return impl != nullptr; }
};

// Window style flags.
enum : unsigned {
  kWinCaption = 1u << 0,
  kWinSysMenu = 1u << 1,
  kWinSizing = 1u << 2,
  kWinMin = 1u << 3,
  kWinMax = 1u << 4,
  kWinTopmost = 1u << 5,
  kWinToolWindow = 1u << 6,
  kWinHidden = 1u << 7,  // never shown (owns message boxes only)
};

struct Window : Form {
  using Form::Form;
  DrawState draw;  // print position, font, colours, pen, fill, raster mode
};

// Dialog style flags.
enum : unsigned {
  kDlgPopup = 1u << 0,
  kDlgTitleBar = 1u << 1,
  kDlgCloseBox = 1u << 2,
  kDlgModalFrame = 1u << 3,
  kDlgSizing = 1u << 4,
};

struct Dialog : Form {
  using Form::Form;
  bool defined = false;
  std::string title;
  int width = 0, height = 0;
  unsigned style = 0;
  std::vector<ControlDef> controls;  // creation order = tab order
  bool modeless = false;             // while shown modeless
  int close_code = -1;               // set by CloseDialog, acted on when the handler returns
};

// ---- dialog convention shared by every handler ----
extern int dlg_result;  // 1 accepted, 2 cancelled or closed, 0 dialog not defined
extern std::string dlg_text1, dlg_text2, dlg_text3, dlg_text4, dlg_text5, dlg_text6, dlg_text7,
    dlg_text8, dlg_text9, dlg_text10;
std::string& DlgText(int n);  // 1..10

// ---- windows ----
void OpenWindow(Window& win, int x, int y, int w, int h, unsigned flags, const std::string& title,
                Handler handler, Form* owner = nullptr);
void CloseWindow(Window& win);  // harmless when already closed
// The title shown while the window or dialog is open; a dialog's record keeps
// the title it was defined with, so it opens with that again next time.
void SetTitle(Form& form, const std::string& title);
std::string GetTitle(const Form& form);  // as shown; a closed dialog's defined title
// Outer size: the area the window was opened with, menu bar included, window
// manager frame excluded; follows the user's resizing.
void OuterSize(const Window& win, int& w, int& h);
void ClientSize(const Window& win, int& w, int& h);
void ScreenPos(const Form& form, int& x, int& y);
void ScreenSize(int& w, int& h);
void WorkArea(int& x, int& y, int& w, int& h);
void FocusForm(Form& form);
void SetWaitCursor(bool wait);

// ---- dialogs ----
void DefineDialog(Dialog& dlg, const std::string& title, int w, int h, unsigned style,
                  Handler handler, std::vector<ControlDef> controls);
// Runs the dialog modally: only its owner is disabled, other windows keep
// working. Returns the code the handler closed it with (also in dlg_result);
// the close box and Esc give 2 without an event; an undefined dialog gives 0.
int RunModal(Dialog& dlg, Form* owner);
void ShowModeless(Dialog& dlg, Form* owner);
// Ends a dialog with a code; takes effect when the running handler returns.
void CloseDialog(Dialog& dlg, int code);
// Centres over the owner inside the work area (over the work area when the
// owner is hidden, closed or minimised).
void CenterDialog(Dialog& dlg);

// ---- controls (on dialogs and on plain windows) ----
// Adding a control whose id exists on the form changes nothing.
void AddControl(Form& form, const ControlDef& def);
// A control of a plain window at x, y, w x h; its static texts are labels
// that report no clicks.
void AddWindowControl(Form& form, CtlKind kind, const std::string& text, int x, int y, int w,
                      int h, int id);
bool HasControl(const Form& form, int id);
void SetCtlText(Form& form, int id, const std::string& text);
std::string GetCtlText(const Form& form, int id);
void SetCheck(Form& form, int id, bool on);
bool GetCheck(const Form& form, int id);
void ComboAdd(Form& form, int id, const std::string& text);
void ComboClear(Form& form, int id);
// The list of a combo box in order (empty when the control is missing).
std::vector<std::string> ComboItems(const Form& form, int id);
void EnableCtl(Form& form, int id, bool on);
void ShowCtl(Form& form, int id, bool on);
void SetCtlFont(Form& form, int id, const std::string& face, int points, int weight);
// Colours are packed r + 256 g + 65536 b; -1 keeps the platform's own.
void SetCtlColors(Form& form, int id, int text, int background, int hover = -1);
void SetCtlFocus(Form& form, int id);
void RemoveControl(Form& form, int id);
// Moves and sizes a control (drawing-area pixels).
void MoveCtl(Form& form, int id, int x, int y, int w, int h);
// The most characters a person can type into an edit field, a multi-line
// field's line breaks counting two (CR LF) as in its text read back; what
// would go beyond is not taken. The program's own SetCtlText is not limited.
void SetCtlTextLimit(Form& form, int id, int max_chars);
// What a control shows, for the readouts and the tests: false or -1 when the
// control does not exist.
bool IsCtlEnabled(const Form& form, int id);
bool GetCtlRect(const Form& form, int id, int& x, int& y, int& w, int& h);
// The colours last given by SetCtlColors (-1 = the platform's own).
void GetCtlColors(const Form& form, int id, int& text, int& background, int& hover);

// ---- menus ----
struct MenuItem {
  std::string caption;
  int id = 0;
  bool greyed = false;
  bool checked = false;
  bool separator = false;
  std::vector<MenuItem> items;  // a submenu when not empty

  MenuItem() = default;
  MenuItem(std::string c, int i, bool grey = false, bool check = false)
      : caption(std::move(c)), id(i), greyed(grey), checked(check) {}
  static MenuItem Sub(std::string c, std::vector<MenuItem> sub, bool grey = false) {
    MenuItem m(std::move(c), 0, grey);
    m.items = std::move(sub);
    return m;
  }
  static MenuItem Separator() {
    MenuItem m;
    m.separator = true;
    return m;
  }
};
// Replaces the window's menu bar; the old one is deleted later, never while
// its own pick is being delivered.
void SetMenuBar(Window& win, std::vector<MenuItem> tops);
// Sets the check mark of every item with this id; a missing id is ignored.
void SetMenuCheck(Window& win, int id, bool on);
const std::vector<MenuItem>& GetMenuBar(const Window& win);
int MenuBarHeight(const Window& win);
// A key combination ("Ctrl+S") that, while the window is active, gives its
// handler the menu pick menu_id, as if that item had been chosen.
void AddMenuShortcut(Window& win, const std::string& keys, int menu_id);

// ---- tool tips ----
void AddToolTip(Form& form, int ctl_id, const std::string& text, int width_px = 500,
                int visible_ms = 10000);
void ActivateToolTips(Form& form, bool on);
std::string GetToolTip(const Form& form, int ctl_id);
// The automatic tip times of a window, derived from one time t as a tool-tip
// control does: a tip shows after the mouse rested t on its control and stays
// 10 t. They apply to the tips the window has and to those added later
// (a tip added with its own visible time keeps that).
void SetToolTipDelays(Form& form, int automatic_ms);
// The times in effect on a control's tip; false when the control is missing.
bool GetToolTipDelays(const Form& form, int ctl_id, int& show_after_ms, int& visible_ms);

// ---- message boxes ----
enum : int { kMbOk = 0, kMbOkCancel = 1, kMbAbortRetryIgnore = 2, kMbYesNo = 4 };
enum : int {
  kIconNone = 0,
  kIconExclamation = 1,
  kIconInformation = 2,
  kIconQuestion = 3,
  kIconError = 4
};
enum : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdAbort = 3,
  kIdRetry = 4,
  kIdIgnore = 5,
  kIdYes = 6,
  kIdNo = 7
};
// Returns the button pressed. default_button 0 = the first button. Closing a
// box without a button gives Cancel, No or the only button: never Yes.
int MsgBox(Form* owner, const std::string& text, const std::string& caption, int buttons = kMbOk,
           int icon = kIconNone, bool topmost = true, int default_button = 0);

// ---- common dialogs ----
// filter "desc|pattern|desc|pattern||"; returns the full path or "" on cancel.
std::string FileDialog(const std::string& title, Form* owner, bool save, const std::string& filter,
                       const std::string& default_ext, const std::string& start_folder,
                       bool confirm_overwrite = true);
// Returns a packed colour, or -1 on cancel.
int ColorPicker(Form* owner, int start_color);

}  // namespace vna
