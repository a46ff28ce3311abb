// Placeholders until the owning routines are built (see pending.h).
#include "shell/pending.h"

namespace vna {

[[gnu::weak]] int cmd_param = 0;
[[gnu::weak]] std::string SUB;

[[gnu::weak]] int midi_out = 0;
[[gnu::weak]] int midi_result = 0;
[[gnu::weak]] void OpenMidi() {
  midi_out = 0;
}
[[gnu::weak]] void NoteOff() {}
[[gnu::weak]] void RegistryControl() {}

[[gnu::weak]] void ShowStatus() {}
[[gnu::weak]] void ShowAbout() {}
[[gnu::weak]] void SetToneRange() {}
[[gnu::weak]] void WriteControlCsv() {}

}  // namespace vna
