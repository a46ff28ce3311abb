// Placeholders until the setup entries and the diagnostic switches are built
// (see pending.h).
#include "shell/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int monitor_trace = 0;

[[gnu::weak]] int CableZoHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CommentHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CommPortHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int RulersHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int AverageHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int DelayTimeHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] int midi_out = 0;
[[gnu::weak]] int midi_result = 0;
[[gnu::weak]] void OpenMidi() {
  midi_out = 0;
}
[[gnu::weak]] void NoteOff() {}
[[gnu::weak]] void RegistryControl() {}

}  // namespace vna
