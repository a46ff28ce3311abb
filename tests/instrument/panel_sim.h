// The test panels and the diagnostic graph against the instrument simulator:
// the measured point brought up as start-up does (PointSim), the main window
// open with its own handler, the dialogs defined, and a person's clicks on
// the panels' real widgets.
#pragma once

#include <QAbstractButton>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "instrument/point_sim.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/windows.h"

namespace vna {

class PanelSim : public PointSim {
 protected:
  void Open(const std::string& model, std::vector<std::string> args = {}) {
    Start(model, std::move(args));
    vna_test_open = 0;
    WinWidth = 1024;
    WinHeight = 700;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu | kWinSizing, "",
               MainWindowHandler);
    DefineDialogs();
    testhook::ClearLogs();
  }
  void TearDown() override {
    for (Dialog* d : {&dlg_vna_test, &dlg_mux, &dlg_const_freq})
      if (d->IsOpen()) qt::FinishDialog(*d, 2);
    CloseWindow(main_win);
    PumpEvents();
    PointSim::TearDown();
  }

  // A click on a button or check box of an open dialog, handled at once.
  static void Click(Dialog& d, int id) {
    ASSERT_TRUE(d.IsOpen()) << d.name;
    Control* c = d.impl->Find(id);
    ASSERT_NE(c, nullptr) << d.name << " control " << id;
    auto* b = qobject_cast<QAbstractButton*>(c->widget.data());
    ASSERT_NE(b, nullptr) << d.name << " control " << id;
    b->click();
    PumpEvents();
  }
  // The close box of an open dialog.
  static void CloseBox(Dialog& d) {
    ASSERT_TRUE(d.IsOpen()) << d.name;
    d.impl->top->close();
    PumpEvents();
  }
  // A menu pick of the main window, dispatched as the menu bar does.
  static void PickMenu(int id) {
    PostEvent(main_win, kEvMenu, 0, 0, 0, 0, id);
    PumpEvents();
    PumpEvents();  // the opening event a dialog posted
  }

  // Runs `script` inside the modal loop of `d` once it is open and its
  // opening has been handled, as a person acting on the panel; whatever the
  // script leaves open is closed by its close box afterwards. Call before the
  // routine that runs the dialog; `ready` tells when the opening is done.
  void DuringModal(Dialog& d, std::function<bool()> ready, std::function<void()> script) {
    testhook::Enable(false);  // no scripted answer: the script acts instead
    timer_ = std::make_unique<QTimer>();
    timer_->setInterval(5);
    QObject::connect(timer_.get(), &QTimer::timeout, [this, &d, ready, script] {
      if (!d.IsOpen() || d.impl->handler_depth > 0 || !ready()) return;
      timer_->stop();
      testhook::Enable(true);
      script();
      if (d.IsOpen()) CloseDialog(d, 2);
    });
    timer_->start();
  }

  // A picture of what a person sees, under build/test_images.
  static void SavePicture(QWidget* w, const std::string& name) {
    const std::string dir = std::string(VNA_BINARY_DIR) + "/test_images";
    std::filesystem::create_directories(dir);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->grab().save(QString::fromStdString(dir + "/" + name + ".png"))) << name;
  }
  static void SaveImage(Window& w, const std::string& name) {
    const std::string dir = std::string(VNA_BINARY_DIR) + "/test_images";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(w.IsOpen());
    EXPECT_TRUE(w.impl->image.save(QString::fromStdString(dir + "/" + name + ".png"))) << name;
  }

 private:
  std::unique_ptr<QTimer> timer_;
};

// The frequency-only command of either model: "G" and 8 digits, or "E" in
// its set-only mode (2, or 6 after a multiplier change).
inline bool SetOnlyFreq(const Command& c) {
  if (c.size() == 9 && c[0] == 'G') return true;
  return c.size() == 20 && c[0] == 'E' && (c[1] == 2 || c[1] == 6);
}

// The commands without what every programmed point may add around its
// frequency command: the oscillator switch of the band rule and the
// averaging of the lowest frequencies (each checked well-formed).
inline std::vector<Command> WithoutPointExtras(const std::vector<Command>& sent) {
  std::vector<Command> out;
  for (const Command& c : sent) {
    if (!c.empty() && c[0] == 'O') {
      EXPECT_TRUE(c.size() == 2 && (c[1] == 1 || c[1] == 2)) << "malformed oscillator command";
      continue;
    }
    if (!c.empty() && c[0] == 'J') {
      EXPECT_TRUE(c.size() == 2 && c[1] >= 1 && c[1] <= 200) << "malformed averaging command";
      continue;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace vna
