// Short constructors for control definitions, so each dialog's table reads
// like its list of controls: kind, id, caption, rectangle, flags. Used only by
// the dialog definition files of the shell.
#pragma once

#include <string>

#include "platform/ui.h"

namespace vna::dlgdef {

inline ControlDef Ctl(CtlKind kind, int id, std::string text, int x, int y, int w, int h,
                      unsigned flags) {
  return ControlDef{kind, std::move(text), x, y, w, h, flags, id};
}
inline ControlDef Button(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::Button, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef Check(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::CheckBox, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef Radio(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::Radio, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef Edit(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::Edit, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef RichEdit(int id, std::string text, int x, int y, int w, int h,
                           unsigned flags = 0) {
  return Ctl(CtlKind::RichEdit, id, std::move(text), x, y, w, h, flags);
}
// A simple combo box: h is the edit field and its list together.
inline ControlDef Combo(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::ComboSimple, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef Static(int id, std::string text, int x, int y, int w, int h, unsigned flags = 0) {
  return Ctl(CtlKind::Static, id, std::move(text), x, y, w, h, flags);
}
inline ControlDef Group(int id, std::string text, int x, int y, int w, int h) {
  return Ctl(CtlKind::GroupBox, id, std::move(text), x, y, w, h, 0);
}

}  // namespace vna::dlgdef
