// Dialog records: Tab visits the controls marked as tab stops, a dialog opens
// with the focus on its first tab stop (or its first field), and a handler's
// new title lives as long as the window, not in the record.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"

namespace vna {
namespace {

Dialog dlg{"dlg_tabs"};

QWidget* Widget(int id) {
  Control* c = dlg.impl->Find(id);
  return c->edit ? c->edit : c->widget.data();
}

TEST(TabStopTest, OnlyTabStopsTakeTabFocus) {
  DefineDialog(dlg, "Tabs", 300, 200, kDlgTitleBar | kDlgCloseBox, [] { return 0; },
               {{CtlKind::Static, "Label", 10, 10, 60, 18, 0, 1},
                {CtlKind::Edit, "a", 10, 30, 80, 24, 0, 2},
                {CtlKind::Edit, "b", 10, 60, 80, 24, kCtlTabStop, 3},
                {CtlKind::ComboSimple, "c", 100, 30, 80, 100, kCtlTabStop, 4},
                {CtlKind::Button, "OK", 200, 30, 60, 24, kCtlDefault | kCtlTabStop, 5},
                {CtlKind::Button, "Cancel", 200, 60, 60, 24, 0, 6}});
  ShowModeless(dlg, nullptr);
  PumpEvents();
  EXPECT_EQ(Widget(2)->focusPolicy(), Qt::ClickFocus);  // still takes a click
  EXPECT_EQ(Widget(3)->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(Widget(4)->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(Widget(5)->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(Widget(6)->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(dlg.impl->top->focusWidget(), Widget(3));
  CloseDialog(dlg, 2);
  PumpEvents();
}

TEST(TabStopTest, WithoutTabStopsTheFirstFieldHasTheFocus) {
  DefineDialog(dlg, "No tabs", 300, 200, kDlgTitleBar | kDlgCloseBox, [] { return 0; },
               {{CtlKind::Button, "OK", 200, 30, 60, 24, kCtlDefault, 2},
                {CtlKind::Edit, "a", 10, 30, 80, 24, 0, 1}});
  ShowModeless(dlg, nullptr);
  PumpEvents();
  EXPECT_EQ(dlg.impl->top->focusWidget(), Widget(1));
  CloseDialog(dlg, 2);
  PumpEvents();
}

TEST(DialogRecordTest, RetitledDialogOpensWithItsOwnTitleAgain) {
  testhook::ClearLogs();
  DefineDialog(dlg, " Defined", 200, 100, kDlgTitleBar | kDlgCloseBox,
               [] {
                 if (msg_id == kEvInitDialog) SetTitle(dlg, "Prompt");
                 return 0;
               },
               {{CtlKind::Button, "OK", 10, 10, 60, 24, 0, 1}});
  testhook::Answer a;
  a.caption = "Prompt";  // what a person sees
  a.close_box = true;
  testhook::QueueAnswer(a);
  EXPECT_EQ(RunModal(dlg, nullptr), 2);
  EXPECT_EQ(dlg.title, " Defined");
  ASSERT_EQ(testhook::Dialogs().size(), 1u);
  EXPECT_EQ(testhook::Dialogs()[0].title, "Prompt");
  EXPECT_TRUE(testhook::Problems().empty());
}

}  // namespace
}  // namespace vna
