// The rows of the command dispatch, gathered from the files that define
// them. Internal to the shell's dispatch.
#pragma once

#include <functional>
#include <vector>

namespace vna {

enum class Guard {
  kNone,        // always runs
  kInstrument,  // without an instrument: NeedsHardware and nothing else
  kSilent,      // without an instrument: nothing at all
};

struct Command {
  int id;
  Guard guard;
  std::function<void()> action;
};

// Button bar and info panel (commands.cpp).
std::vector<Command> ButtonCommands();
// File, Functions, Calibrate, Bands, Multi Channel and TDR menus
// (menu_commands.cpp).
std::vector<Command> MeasureMenuCommands();
// Setup, Markers, Utilities, Port B Functions, Help, My Vars and the
// diagnostic entries (menu_commands_setup.cpp).
std::vector<Command> SetupMenuCommands();

}  // namespace vna
