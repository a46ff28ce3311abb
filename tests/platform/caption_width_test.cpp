// A box or a dialog is never narrower than its caption needs in the frame a
// window manager draws around it ("P... Cal" otherwise): the caption in a
// bold title font, and room for the frame's icon and three buttons (a title
// bar's height each) and its edges.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"

namespace vna {
namespace {

int Needed(const std::string& caption) {
  QFont f = QApplication::font();
  f.setBold(true);
  const QFontMetrics fm(f);
  const int title_bar = fm.height() + 8;
  return fm.horizontalAdvance(QString::fromStdString(caption).trimmed()) + 4 * title_bar + 16;
}

// The width of the shown top-level window titled so, when the scripted
// answer acts (while the box or dialog is up).
int ShownWidth(const std::string& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == QString::fromStdString(title)) return w->width();
  return -1;
}

Dialog narrow{"dlg_narrow"};
Dialog wide{"dlg_wide"};
Dialog retitled{"dlg_retitled"};

int Closer() {
  if (msg_id == kEvInitDialog && GetTitle(retitled) == " Entry") {
    SetTitle(retitled, " Xtal sequence number of the crystal just measured:");
  }
  return 0;
}

TEST(CaptionWidthTest, BoxesAndDialogsAreWideEnoughForTheirCaption) {
  Window owner{"owner_win"};
  OpenWindow(owner, 0, 0, 800, 600, kWinCaption, "Owner", [] { return 0; });
  const std::vector<ControlDef> controls = {{CtlKind::Button, "Enter", 10, 10, 60, 24, 0, 2}};
  DefineDialog(narrow, " Enter Comm Port", 100, 117, kDlgTitleBar | kDlgCloseBox, Closer, controls);
  DefineDialog(wide, " Wide", 500, 117, kDlgTitleBar | kDlgCloseBox, Closer, controls);
  DefineDialog(retitled, " Entry", 150, 117, kDlgTitleBar | kDlgCloseBox, Closer, controls);
  struct Case {
    std::string caption;
    std::function<void()> open;
    int at_least;
  };
  const std::string long_caption = " Xtal sequence number of the crystal just measured:";
  const Case cases[] = {
      // A short text under a longer caption.
      {" Port B Cal", [&] { MsgBox(&owner, "Done", " Port B Cal", kMbOk, kIconNone, true); },
       Needed(" Port B Cal")},
      {" Cannot use registry external control",
       [&] { MsgBox(&owner, "x", " Cannot use registry external control", kMbOk); },
       Needed(" Cannot use registry external control")},
      // Defined narrower than its caption: widened.
      {" Enter Comm Port", [&] { RunModal(narrow, &owner); }, Needed(" Enter Comm Port")},
      // Wide enough as defined: kept.
      {" Wide", [&] { RunModal(wide, &owner); }, 500},
      // Retitled by its handler when it opens.
      {long_caption, [&] { RunModal(retitled, &owner); }, Needed(long_caption)},
  };
  for (const Case& c : cases) {
    int width = -1;
    testhook::Answer a;
    a.press = 0;
    a.close_box = true;
    a.act = [&] { width = ShownWidth(c.caption); };
    testhook::QueueAnswer(a);
    c.open();
    EXPECT_GE(width, c.at_least) << c.caption;
  }
  CloseWindow(owner);
  PumpEvents();
}

}  // namespace
}  // namespace vna
