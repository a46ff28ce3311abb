// Return typed in the one field of the SWR Ruler, Velocity Factor and
// Crystal Measurement dialogs presses the dialog's Enter button, as in every
// other dialog: the dialog ends with 1 and hands the field's text back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"

namespace vna {
namespace {

class ReturnKeyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }
};

TEST_F(ReturnKeyTest, ReturnInTheFieldPressesEnter) {
  struct Case {
    Dialog* dlg;
    const char* typed;
  };
  const Case cases[] = {
      {&dlg_swr_ruler, "2.5"}, {&dlg_velocity_factor, "0.66"}, {&dlg_crystal_meas, "10.1"}};
  for (const Case& c : cases) {
    testhook::ClearLogs();
    dlg_text1 = "(not handed back)";
    testhook::Answer a;
    a.act = [&c] {
      // A person types the value into the field and presses Return.
      QWidget* field = c.dlg->impl->Find(1)->widget;
      field->setFocus();
      SetCtlText(*c.dlg, 1, c.typed);
      QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
      QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
      QApplication::sendEvent(field, &down);
      QApplication::sendEvent(field, &up);
      PumpEvents();
    };
    a.close_box = true;  // only when Return left the dialog open
    testhook::QueueAnswer(a);
    EXPECT_EQ(RunModal(*c.dlg, nullptr), 1) << c.dlg->name;
    EXPECT_EQ(dlg_text1, c.typed) << c.dlg->name;
  }
}

}  // namespace
}  // namespace vna
