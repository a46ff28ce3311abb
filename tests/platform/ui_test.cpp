// The windowing layer as the program's handlers see it: records, ids, event
// fields, modal runs answered like a person would, drawing and images.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTemporaryDir>

#include <vector>

#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"

namespace vna {
namespace {

Window win{"test_win"};
Window other{"other_win"};
Dialog dlg{"dlg_test"};

struct Seen {
  int id, ctl, menu, wparam, x, y;
};
std::vector<Seen> seen;

int RecordingHandler() {
  seen.push_back({msg_id, msg_ctl_id, msg_menu_id, msg_wparam, msg_mouse_x, msg_mouse_y});
  return 0;
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhook::ClearLogs();
    seen.clear();
    OpenWindow(win, 10, 20, 400, 300, kWinCaption | kWinSysMenu, "Test", RecordingHandler);
  }
  void TearDown() override {
    CloseWindow(win);
    CloseWindow(other);
    PumpEvents();
    EXPECT_TRUE(testhook::Problems().empty()) << testhook::Problems().front();
  }
};

std::vector<int> Pixels(Window& w, int width, int height) {
  std::vector<int> px;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) px.push_back(ReadPixel(w, x, y));
  return px;
}

TEST_F(UiTest, RecordReadsBackWhatWasOpened) {
  int w, h, x, y;
  OuterSize(win, w, h);
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 300);
  ScreenPos(win, x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  EXPECT_EQ(GetTitle(win), "Test");
  EXPECT_EQ(ReadPixel(win, 2, 2), Rgb(255, 255, 255));  // new windows start white
  CloseWindow(win);
  CloseWindow(win);  // harmless twice
  EXPECT_FALSE(win.IsOpen());
  DrawLine(win, 0, 0, 10, 10);  // drawing into a closed window does nothing
  EXPECT_EQ(ReadPixel(win, 0, 0), -1);
}

TEST_F(UiTest, XorDrawnTwiceRestoresEveryPixel) {
  SetFill(win, true, Rgb(200, 30, 40));
  SetPen(win, Rgb(0, 90, 0), kPenSolid, 2);
  DrawRect(win, 20, 20, 150, 100);
  SetFont(win, "arial", 10, 700);
  MoveTo(win, 30, 40);
  PrintText(win, "Marker 1");
  const auto before = Pixels(win, 200, 150);
  SetXorMode(win, true);
  for (int style : {kPenSolid, kPenDash, kPenDot}) {
    SetPen(win, Rgb(19, 19, 247), style, 1);
    DrawLine(win, 5, 140, 190, 3);
    DrawLine(win, 5, 140, 190, 3);
  }
  SetPen(win, 0, kPenSolid, 1);
  SetFill(win, true, Rgb(255, 255, 0));
  DrawCircle(win, 60, 60, 6);
  const auto middle = Pixels(win, 200, 150);
  DrawCircle(win, 60, 60, 6);
  EXPECT_NE(before, middle);
  EXPECT_EQ(before, Pixels(win, 200, 150));
}

TEST_F(UiTest, OpaqueTextFillsItsCellAndMovesThePrintPosition) {
  FillWindow(win, Rgb(10, 10, 10));
  SetFont(win, "arial", 10, 0);
  SetTextColor(win, Rgb(255, 0, 0));
  SetTextBackground(win, true, Rgb(0, 0, 255));
  MoveTo(win, 50, 60);
  PrintText(win, "  ");
  int tw, th;
  TextExtent(win, "  ", tw, th);
  EXPECT_EQ(win.draw.pos_x, 50 + tw);
  EXPECT_EQ(win.draw.pos_y, 60);
  EXPECT_EQ(ReadPixel(win, 50, 60), Rgb(0, 0, 255));
  EXPECT_EQ(ReadPixel(win, 50 + tw - 1, 60 + th - 1), Rgb(0, 0, 255));
  EXPECT_EQ(ReadPixel(win, 50 + tw, 60), Rgb(10, 10, 10));
  ASSERT_EQ(testhook::Prints().size(), 1u);
  EXPECT_EQ(testhook::Prints()[0].window, "test_win");
  EXPECT_EQ(testhook::Prints()[0].text, "  ");
}

TEST_F(UiTest, FontsAreMetricCompatibleAndFixedAt96Dpi) {
  const QFont f = qt::MakeFont("arial", 9, 0, false);
  EXPECT_EQ(f.pixelSize(), 12);
  EXPECT_EQ(QFontInfo(f).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(qt::MakeFont("courier", 9, 0, false)).family(), "Liberation Mono");
  EXPECT_EQ(QFontInfo(qt::MakeFont("ariel", 9, 0, false)).family(), "Liberation Sans");
  int w1, h1, w2, h2;
  FontTextExtent("arial", 10, 0, "ScanKey", w1, h1);
  FontTextExtent("arial", 10, 700, "ScanKey", w2, h2);
  EXPECT_GT(w1, 30);
  EXPECT_GT(w2, w1);  // bold is wider
  EXPECT_GT(h1, 10);
}

TEST_F(UiTest, ImageRowsReadBottomUpAsBitmapRows) {
  SetFill(win, true, Rgb(12, 34, 56));
  SetPen(win, Rgb(200, 100, 0), kPenSolid, 1);
  DrawRect(win, 3, 4, 50, 20);
  DrawLine(win, 0, 0, 99, 49);
  std::vector<unsigned char> rows(100 * 50 * 4);
  ASSERT_TRUE(ReadImageRows(win, 0, 0, 100, 50, rows.data()));
  for (int row = 0; row < 50; ++row)
    for (int x = 0; x < 100; ++x) {
      const unsigned char* p = &rows[(row * 100 + x) * 4];
      // Row 0 of the bitmap is the bottom line of the rectangle.
      ASSERT_EQ(Rgb(p[2], p[1], p[0]), ReadPixel(win, x, 49 - row)) << x << "," << row;
      ASSERT_EQ(p[3], 0);
    }
  // A rectangle reaching beyond the image is background, not garbage.
  std::vector<unsigned char> edge(40 * 40 * 4);
  ASSERT_TRUE(ReadImageRows(win, 380, 280, 40, 40, edge.data()));
  const unsigned char* top_right = &edge[(39 * 40 + 39) * 4];
  EXPECT_EQ(Rgb(top_right[2], top_right[1], top_right[0]), Rgb(255, 255, 255));
  EXPECT_FALSE(ReadImageRows(win, 0, 0, 0, 10, edge.data()));
  Window closed{"closed"};
  EXPECT_FALSE(ReadImageRows(closed, 0, 0, 10, 10, edge.data()));
}

TEST_F(UiTest, SegmentsInOnePassAreTheLinesOneByOne) {
  OpenWindow(other, 0, 0, 400, 300, kWinCaption, "Other", RecordingHandler);
  // A zig-zag with short, long, steep and zero-length segments, drawn over
  // a filled rectangle in a colour of its own.
  const std::vector<int> xy = {10, 10,  50,  12,  50,  12,  52, 200, 52, 200, 52, 200,
                               52, 200, 390, 290, 390, 290, 20, 150, 20, 150, 21, 151};
  for (Window* w : {&win, &other}) {
    SetFill(*w, true, Rgb(180, 220, 255));
    SetPen(*w, Rgb(0, 0, 0), kPenSolid, 1);
    DrawRect(*w, 30, 30, 200, 150);
    SetFill(*w, false);
    SetPen(*w, Rgb(240, 0, 0), kPenSolid, 2);
  }
  for (size_t k = 0; k + 3 < xy.size(); k += 4)
    DrawLine(win, xy[k], xy[k + 1], xy[k + 2], xy[k + 3]);
  DrawSegments(other, xy);
  EXPECT_EQ(Pixels(win, 400, 300), Pixels(other, 400, 300));
  EXPECT_EQ(other.draw.pos_x, 21);
  EXPECT_EQ(other.draw.pos_y, 151);
}

TEST_F(UiTest, LinesOfSeveralPensInOnePassAreTheLinesOneByOne) {
  OpenWindow(other, 0, 0, 400, 300, kWinCaption, "Other", RecordingHandler);
  // Crossing lines, so the order decides which colour a shared pixel keeps;
  // every style and a few widths, steep and flat, of no length, and reaching
  // out of the image.
  const std::vector<PenLine> lines = {
      {Rgb(240, 0, 0), kPenSolid, 2, 10, 10, 300, 200},
      {Rgb(0, 0, 240), kPenDash, 1, 10, 200, 300, 10},
      {Rgb(0, 160, 0), kPenDot, 3, 150, 0, 160, 290},
      {Rgb(200, 120, 0), kPenSolid, 1, 155, 100, 155, 100},
      {Rgb(120, 0, 120), kPenSolid, 3, 155, 100, 155, 100},
      {Rgb(0, 0, 0), kPenDash, 2, -50, 150, 500, 160},
      {Rgb(240, 0, 0), kPenSolid, 1, 20, 20, 21, 280},
  };
  for (const bool exclusive : {false, true}) {
    for (Window* w : {&win, &other}) {
      FillWindow(*w, Rgb(255, 255, 255));
      SetFill(*w, true, Rgb(180, 220, 255));
      SetPen(*w, Rgb(0, 0, 0), kPenSolid, 1);
      DrawRect(*w, 30, 30, 200, 150);
      SetXorMode(*w, exclusive);
    }
    for (const PenLine& l : lines) {
      SetPen(win, l.color, l.style, l.width);
      DrawLine(win, l.x1, l.y1, l.x2, l.y2);
    }
    DrawPenLines(other, lines.data(), lines.size());
    EXPECT_EQ(Pixels(win, 400, 300), Pixels(other, 400, 300)) << exclusive;
    const QString dir = VNA_BINARY_DIR "/platform";
    QDir().mkpath(dir);
    EXPECT_TRUE(
        other.impl->image.save(dir + (exclusive ? "/pen_lines_xor.png" : "/pen_lines.png")));
    SetXorMode(win, false);
    SetXorMode(other, false);
  }
  // The pen and the position are the last line's, as after SetPen and DrawLine.
  EXPECT_EQ(other.draw.pen_color, Rgb(240, 0, 0));
  EXPECT_EQ(other.draw.pen_style, kPenSolid);
  EXPECT_EQ(other.draw.pen_width, 1);
  EXPECT_EQ(other.draw.pos_x, 21);
  EXPECT_EQ(other.draw.pos_y, 280);
}

TEST_F(UiTest, PrintsTheWindowImageToPdf) {
  DrawLine(win, 0, 0, 100, 100);
  QTemporaryDir tmp;
  const std::string pdf = tmp.filePath("w.pdf").toStdString();
  ASSERT_TRUE(PrintWindowImage(win, pdf));
  QFile f(QString::fromStdString(pdf));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST_F(UiTest, MessageBoxAnswersAndLog) {
  struct Case {
    int buttons, answer, expected;
  };
  const Case cases[] = {
      {kMbOk, kIdOk, kIdOk},
      {kMbYesNo, kIdNo, kIdNo},
      {kMbYesNo, kIdYes, kIdYes},
      {kMbOkCancel, kIdCancel, kIdCancel},
      {kMbAbortRetryIgnore, kIdRetry, kIdRetry},
      {kMbAbortRetryIgnore, kIdAbort, kIdAbort},
      {kMbYesNo, 0, kIdNo},  // the close box never gives Yes
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    testhook::Answer a;
    a.press = c.answer;
    a.close_box = c.answer == 0;
    testhook::QueueAnswer(a);
    EXPECT_EQ(MsgBox(&win, "The VNA is not responding.\r\nCheck the cable.",
                     " Comm Port Problem 3742", c.buttons, kIconExclamation, true),
              c.expected);
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    const auto& r = testhook::MsgBoxes()[0];
    EXPECT_EQ(r.caption, " Comm Port Problem 3742");
    EXPECT_EQ(r.text, "The VNA is not responding.\r\nCheck the cable.");
    EXPECT_EQ(r.owner, "test_win");
    EXPECT_EQ(r.buttons, c.buttons);
    EXPECT_EQ(r.icon, kIconExclamation);
    EXPECT_TRUE(r.scripted);
    EXPECT_EQ(r.result, c.expected);
  }
  // No answer queued: the default (first) button, logged as unscripted.
  testhook::ClearLogs();
  EXPECT_EQ(MsgBox(nullptr, "x", "y", kMbOkCancel), kIdOk);
  EXPECT_FALSE(testhook::MsgBoxes()[0].scripted);
  EXPECT_TRUE(win.impl->top->isEnabled());  // the owner is enabled again
}

// The window manager keeps a box above its owner and modal for it only when
// told so: transient for the owner's window and window-modal. A hidden or
// absent owner gives a box of its own that freezes nothing.
TEST_F(UiTest, BoxesStayAboveTheirOwnerAndAreModalForIt) {
  Window hidden{"hidden_test"};
  OpenWindow(hidden, -5000, 5000, 10, 10, kWinHidden, "", RecordingHandler);
  struct Case {
    Form* owner;
    const char* transient_for;
    bool modal;
  };
  const Case cases[] = {{&win, "test_win", true}, {&hidden, "", false}, {nullptr, "", false}};
  for (const Case& c : cases) {
    testhook::ClearLogs();
    MsgBox(c.owner, "text", "caption", kMbOk, kIconExclamation, false);
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].tie.transient_for, c.transient_for);
    EXPECT_EQ(testhook::MsgBoxes()[0].tie.window_modal, c.modal) << c.transient_for;
  }
  CloseWindow(hidden);
}

// A number-entry dialog: refuses an empty text, accepts a number.
int entry_inits = 0;
int entry_closes_seen = 0;
bool owner_enabled_in_dialog = true;
bool other_enabled_in_dialog = false;
int EntryHandler() {
  if (msg_id == kEvInitDialog) {
    ++entry_inits;
    SetCtlText(dlg, 10, "1.5");
    owner_enabled_in_dialog = win.impl->top->isEnabled();
    other_enabled_in_dialog = other.IsOpen() && other.impl->top->isEnabled();
  } else if (msg_id == kEvClose) {
    ++entry_closes_seen;
  } else if (msg_id == kEvCommand && msg_ctl_id == 1) {
    const std::string t = GetCtlText(dlg, 10);
    if (t.empty()) {
      MsgBox(&win, "Enter a number", " Error", kMbOk);
      return 0;
    }
    dlg_text1 = t;
    CloseDialog(dlg, 1);
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    CloseDialog(dlg, 2);
  }
  return 0;
}

void DefineEntry() {
  DefineDialog(dlg, " Enter Value", 300, 120, kDlgTitleBar | kDlgCloseBox, EntryHandler,
               {{CtlKind::Edit, "", 10, 10, 100, 22, 0, 10},
                {CtlKind::Button, "OK", 10, 50, 60, 24, kCtlDefault, 1},
                {CtlKind::Button, "Cancel", 80, 50, 60, 24, 0, 2},
                {CtlKind::CheckBox, "Keep", 150, 50, 60, 24, 0, 3}});
}

TEST_F(UiTest, ModalDialogScriptedLikeAPerson) {
  Dialog undefined{"dlg_undefined"};
  EXPECT_EQ(RunModal(undefined, &win), 0);

  DefineEntry();
  OpenWindow(other, 500, 20, 200, 200, kWinCaption, "Other", RecordingHandler);
  entry_inits = 0;
  testhook::Answer a;
  a.caption = " Enter Value";
  a.texts = {{10, "42.5"}};
  a.checks = {{3, true}};
  a.press = 1;
  testhook::QueueAnswer(a);
  dlg_text1.clear();
  EXPECT_EQ(RunModal(dlg, &win), 1);
  EXPECT_EQ(dlg_result, 1);
  EXPECT_EQ(dlg_text1, "42.5");
  EXPECT_EQ(entry_inits, 1);
  EXPECT_FALSE(owner_enabled_in_dialog);  // only the owner is disabled
  EXPECT_TRUE(other_enabled_in_dialog);
  EXPECT_TRUE(win.impl->top->isEnabled());
  EXPECT_FALSE(dlg.IsOpen());
  ASSERT_EQ(testhook::Dialogs().size(), 1u);
  EXPECT_EQ(testhook::Dialogs()[0].title, " Enter Value");
}

// A window that stays on top (a chart) would cover whatever opens later
// without the hint: while one is shown, a box (even one not asked to be
// topmost), a dialog and a file dialog stay on top as well; otherwise not.
TEST_F(UiTest, WhatOpensWhileAWindowStaysOnTopStaysOnTopToo) {
  DefineEntry();
  for (bool chart_shown : {false, true}) {
    SCOPED_TRACE(chart_shown ? "a window on top is shown" : "none on top");
    testhook::ClearLogs();
    if (chart_shown)
      OpenWindow(other, 500, 20, 200, 200, kWinCaption | kWinTopmost, "Chart", RecordingHandler);
    MsgBox(&win, "text", "caption", kMbOk, kIconNone, false);
    testhook::Answer closed;
    closed.close_box = true;
    testhook::QueueAnswer(closed);
    RunModal(dlg, &win);
    testhook::QueueFileAnswer("");
    FileDialog(" Open", &win, false, "All Files|*.*||", "", "/");
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    ASSERT_EQ(testhook::Dialogs().size(), 1u);
    ASSERT_EQ(testhook::FileDialogs().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].tie.stays_on_top, chart_shown);
    EXPECT_EQ(testhook::Dialogs()[0].tie.stays_on_top, chart_shown);
    EXPECT_EQ(testhook::FileDialogs()[0].stays_on_top, chart_shown);
    CloseWindow(other);
  }
}

// A chart that stays on top asks in a dialog and a box of the main window
// (a right click's marker dialog): they belong to the chart, above it with
// its on-top hint, and block nothing; a window opened from the main window
// while the chart is shown stays on top as well, or it opens under it.
Window third{"third_win"};
int ChartAsks() {
  if (msg_id == kEvCommand && msg_ctl_id == 1) {
    testhook::Answer closed;
    closed.close_box = true;
    testhook::QueueAnswer(closed);
    RunModal(dlg, &win);
    MsgBox(&win, "text", "caption", kMbOk, kIconNone, false);
  }
  return 0;
}
int MainOpensAWindow() {
  if (msg_id == kEvCommand && msg_ctl_id == 1)
    OpenWindow(third, 50, 50, 100, 100, kWinCaption, "Polar", RecordingHandler);
  return 0;
}

TEST_F(UiTest, WhatAWindowOnTopOpensBelongsToItAndWindowsOpenAboveIt) {
  DefineEntry();
  OpenWindow(win, 10, 20, 400, 300, kWinCaption | kWinSysMenu, "Test", MainOpensAWindow);
  OpenWindow(other, 500, 20, 200, 200, kWinCaption | kWinTopmost, "Chart", ChartAsks);
  PostEvent(other, kEvCommand, 1);
  PumpEvents();
  ASSERT_EQ(testhook::Dialogs().size(), 1u);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  for (const testhook::OwnerTie& tie : {testhook::Dialogs()[0].tie, testhook::MsgBoxes()[0].tie}) {
    EXPECT_EQ(tie.transient_for, "other_win");
    EXPECT_FALSE(tie.window_modal);
    EXPECT_TRUE(tie.stays_on_top);
  }
  EXPECT_TRUE(win.impl->top->isEnabled());  // the named owner is enabled again
  PostEvent(win, kEvCommand, 1);
  PumpEvents();
  ASSERT_TRUE(third.IsOpen());
  EXPECT_TRUE(qt::StaysOnTop(third.impl->top));
  CloseWindow(third);
  CloseWindow(other);
  // Without the chart it opens as asked.
  PostEvent(win, kEvCommand, 1);
  PumpEvents();
  ASSERT_TRUE(third.IsOpen());
  EXPECT_FALSE(qt::StaysOnTop(third.impl->top));
  CloseWindow(third);
}

TEST_F(UiTest, RefusedEntryIsAnsweredAgain) {
  DefineEntry();
  testhook::Answer empty;
  empty.texts = {{10, ""}};
  empty.press = 1;
  testhook::QueueAnswer(empty);
  testhook::QueueMsgBoxAnswer(kIdOk, " Error");
  testhook::Answer good;
  good.texts = {{10, "7"}};
  good.press = 1;
  testhook::QueueAnswer(good);
  EXPECT_EQ(RunModal(dlg, &win), 1);
  EXPECT_EQ(dlg_text1, "7");
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Enter a number");
  EXPECT_EQ(testhook::PendingAnswers(), 0u);
  // The dialog stays above its owner and is modal for it. The box, named
  // with the same owner, belongs to the dialog waiting for an answer: owned
  // by the window under it, it would be blocked by the window-modal dialog
  // and nothing could answer it. It is not window-modal: that would freeze
  // the dialog, which the user may still work in.
  ASSERT_EQ(testhook::Dialogs().size(), 1u);
  EXPECT_EQ(testhook::Dialogs()[0].tie.transient_for, "test_win");
  EXPECT_TRUE(testhook::Dialogs()[0].tie.window_modal);
  EXPECT_EQ(testhook::MsgBoxes()[0].tie.transient_for, "dlg_test");
  EXPECT_FALSE(testhook::MsgBoxes()[0].tie.window_modal);
}

TEST_F(UiTest, CloseBoxEndsAModalDialogWithTwoAndNoEvent) {
  DefineEntry();
  entry_closes_seen = 0;
  testhook::Answer a;
  a.close_box = true;
  testhook::QueueAnswer(a);
  EXPECT_EQ(RunModal(dlg, &win), 2);
  EXPECT_EQ(entry_closes_seen, 0);
  // Unscripted in test mode: closed the same way.
  EXPECT_EQ(RunModal(dlg, &win), 2);
  EXPECT_FALSE(testhook::Dialogs().back().scripted);
}

TEST_F(UiTest, ModelessDialogHearsItsCloseBox) {
  DefineEntry();
  entry_closes_seen = 0;
  ShowModeless(dlg, &win);
  EXPECT_TRUE(dlg.IsOpen());
  PumpEvents();
  dlg.impl->top->close();
  PumpEvents();
  EXPECT_EQ(entry_closes_seen, 1);
  EXPECT_TRUE(dlg.IsOpen());  // the handler decides
  CloseDialog(dlg, 1);
  EXPECT_FALSE(dlg.IsOpen());
}

TEST_F(UiTest, EventFieldsAreFilledAndRestoredAroundNestedDispatch) {
  static std::vector<int> inner_seen;
  inner_seen.clear();
  OpenWindow(other, 0, 0, 50, 50, kWinCaption, "", [] {
    inner_seen.push_back(msg_id);
    return 0;
  });
  win.handler = [] {
    seen.push_back({msg_id, msg_ctl_id, msg_menu_id, msg_wparam, msg_mouse_x, msg_mouse_y});
    if (msg_id == kEvRButtonDown) {
      PostEvent(other, kEvKeyDown, 0, 65);
      DelayMs(5);  // the nested event is handled in here
      seen.push_back({msg_id, msg_ctl_id, msg_menu_id, msg_wparam, msg_mouse_x, msg_mouse_y});
    }
    return 0;
  };
  PostEvent(win, kEvRButtonDown, 0, 0, 123, 45);
  PumpEvents();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(inner_seen, std::vector<int>{kEvKeyDown});
  EXPECT_EQ(seen[1].id, kEvRButtonDown);
  EXPECT_EQ(seen[1].x, 123);
  EXPECT_EQ(seen[1].y, 45);
}

TEST_F(UiTest, EventsOfAClosedInstanceAreDropped) {
  PostEvent(win, kEvKeyDown, 0, 81);
  CloseWindow(win);
  OpenWindow(win, 0, 0, 100, 100, kWinCaption, "", RecordingHandler);
  PumpEvents();
  EXPECT_TRUE(seen.empty());
}

TEST_F(UiTest, DelayMsReturnsOnTimeAndLetsEventsThrough) {
  for (int ms : {0, 1, 20, 60}) {
    seen.clear();
    PostEvent(win, kEvMouseMove, 0, 0, 1, 2);
    const uint64_t t0 = TickMs64();
    DelayMs(ms);
    const uint64_t took = TickMs64() - t0;
    EXPECT_GE(took, static_cast<uint64_t>(ms));
    EXPECT_LT(took, static_cast<uint64_t>(ms) + 200);  // generous: only guards against a hang
    EXPECT_EQ(seen.size(), 1u) << ms;
  }
}

TEST_F(UiTest, MenusDeliverIdsKeepChecksAndSurviveRebuildFromTheirOwnPick) {
  auto build = [] {
    SetMenuBar(win,
               {MenuItem::Sub("File", {{"Quit", 3}, MenuItem::Separator(), {"Save & Exit", 21330}}),
                MenuItem::Sub("Setup", {{"  Cursor", 67, false, true}, {"Port B", 20, true}}),
                MenuItem::Sub("Port B Functions", {{"x", 30}}, true)});
  };
  build();
  win.handler = [&build] {
    seen.push_back({msg_id, msg_ctl_id, msg_menu_id, 0, 0, 0});
    if (msg_id == kEvMenu && msg_menu_id == 67) build();  // rebuilt from inside its own pick
    return 0;
  };
  auto actions = win.impl->actions;
  ASSERT_EQ(actions.count(67), 1u);
  EXPECT_TRUE(actions.find(67)->second->isChecked());
  EXPECT_FALSE(actions.find(3)->second->isCheckable());  // no empty box on a plain command
  EXPECT_EQ(actions.find(21330)->second->text(), "Save && Exit");
  EXPECT_FALSE(actions.find(20)->second->isEnabled());
  actions.find(67)->second->trigger();
  EXPECT_TRUE(win.impl->actions.find(67)->second->isChecked());  // a pick alone changes no mark
  PumpEvents();
  PumpEvents();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, kEvMenu);
  EXPECT_EQ(seen[0].menu, 67);
  SetMenuCheck(win, 67, false);
  SetMenuCheck(win, 9999, true);  // a missing id is ignored
  EXPECT_FALSE(win.impl->actions.find(67)->second->isChecked());
  EXPECT_FALSE(win.impl->actions.find(67)->second->isCheckable());
  SetMenuCheck(win, 3, true);  // any item can take a mark
  EXPECT_TRUE(win.impl->actions.find(3)->second->isChecked());
  EXPECT_FALSE(GetMenuBar(win)[1].items[0].checked);
  EXPECT_TRUE(GetMenuBar(win)[2].greyed);
}

TEST_F(UiTest, ControlsByIdOnPlainWindows) {
  AddControl(win, {CtlKind::Button, "Scan", 10, 10, 60, 20, 0, 201});
  AddControl(win, {CtlKind::Button, "Other", 10, 10, 60, 20, 0, 201});  // existing id: no change
  EXPECT_EQ(GetCtlText(win, 201), "Scan");
  SetCtlText(win, 201, "Rescan TDR");
  EXPECT_EQ(GetCtlText(win, 201), "Rescan TDR");
  AddControl(win, {CtlKind::Static, "readout", 10, 40, 100, 20, 0, 7});
  SetCtlText(win, 7, "changed");  // the program's own change raises no event
  PumpEvents();
  EXPECT_TRUE(seen.empty());
  static_cast<QAbstractButton*>(win.impl->Find(201)->widget.data())->click();
  PumpEvents();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, kEvCommand);
  EXPECT_EQ(seen[0].ctl, 201);
  AddToolTip(win, 201, "Starts a scan\r\n", 500);
  EXPECT_EQ(GetToolTip(win, 201), "Starts a scan\r\n");
  EXPECT_FALSE(win.impl->Find(201)->widget->toolTip().isEmpty());
  ActivateToolTips(win, false);
  EXPECT_TRUE(win.impl->Find(201)->widget->toolTip().isEmpty());
}

TEST_F(UiTest, CloseBoxOfAWindowOnlyAsks) {
  win.impl->top->close();
  PumpEvents();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, kEvClose);
  EXPECT_TRUE(win.IsOpen());
}

TEST_F(UiTest, FileDialogAnswers) {
  testhook::QueueFileAnswer("/tmp/x.scn");
  EXPECT_EQ(FileDialog(" Load Scan File", &win, false, "Scan Files(*.scn)|*.scn||", "scn", "/tmp"),
            "/tmp/x.scn");
  EXPECT_EQ(FileDialog(" Load Scan File", &win, false, "Scan Files(*.scn)|*.scn||", "scn", "/tmp"),
            "");
  ASSERT_EQ(testhook::FileDialogs().size(), 2u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Load Scan File");
  testhook::QueueColorAnswer(Rgb(1, 2, 3));
  EXPECT_EQ(ColorPicker(&win, 0), Rgb(1, 2, 3));
  EXPECT_EQ(ColorPicker(&win, 0), -1);
}

}  // namespace
}  // namespace vna

namespace vna {
namespace {

TEST_F(UiTest, KeysArriveAsVirtualKeyCodes) {
  struct Case {
    int qt_key;
    Qt::KeyboardModifiers mods;
    int vk;
  };
  const Case cases[] = {
      {Qt::Key_S, Qt::NoModifier, 83},       {Qt::Key_Q, Qt::ShiftModifier, 81},
      {Qt::Key_4, Qt::NoModifier, 52},       {Qt::Key_1, Qt::KeypadModifier, 97},
      {Qt::Key_Left, Qt::NoModifier, 37},    {Qt::Key_Down, Qt::NoModifier, 40},
      {Qt::Key_Control, Qt::NoModifier, 17}, {Qt::Key_Shift, Qt::NoModifier, 16},
      {Qt::Key_Return, Qt::NoModifier, 13},  {Qt::Key_F1, Qt::NoModifier, 112},
  };
  for (const Case& c : cases) {
    seen.clear();
    QKeyEvent down(QEvent::KeyPress, c.qt_key, c.mods);
    QKeyEvent repeat_up(QEvent::KeyRelease, c.qt_key, c.mods, QString(), true);
    QKeyEvent up(QEvent::KeyRelease, c.qt_key, c.mods);
    QCoreApplication::sendEvent(win.impl->top, &down);
    QCoreApplication::sendEvent(win.impl->top, &repeat_up);  // auto-repeat: no key up
    QCoreApplication::sendEvent(win.impl->top, &up);
    PumpEvents();
    ASSERT_EQ(seen.size(), 2u) << c.vk;
    EXPECT_EQ(seen[0].id, kEvKeyDown);
    EXPECT_EQ(seen[0].wparam, c.vk);
    EXPECT_EQ(seen[1].id, kEvKeyUp);
    EXPECT_EQ(seen[1].wparam, c.vk);
  }
}

}  // namespace
}  // namespace vna
