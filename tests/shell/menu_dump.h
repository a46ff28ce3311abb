// A text dump of main_win's menu bar (captions byte for byte, ids, check
// marks, greyed entries) and of its button bar, for the golden files.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "shell/windows.h"

namespace vna::test {

inline void DumpItems(std::ostringstream& out, const std::vector<MenuItem>& items, int depth) {
  for (const MenuItem& m : items) {
    out << std::string(2 * depth, ' ');
    if (!m.items.empty()) {
      out << (depth == 0 ? "menu" : "submenu") << " \"" << m.caption << "\"";
    } else {
      out << "\"" << m.caption << "\" " << m.id;
      if (m.checked) out << " checked";
    }
    if (m.greyed) out << " greyed";
    out << "\n";
    if (!m.items.empty()) DumpItems(out, m.items, depth + 1);
  }
}

// The twelve bar buttons in bar order: id, caption, x,y,width, and
// "disabled" when greyed. The height follows the font and is checked apart.
inline std::string DumpMenusAndButtons() {
  std::ostringstream out;
  DumpItems(out, GetMenuBar(main_win), 0);
  out << "buttons\n";
  for (int id : {20192, 201, 202, 204, 31, 203, 205, 208, 207, 4332, 210, 209}) {
    int x, y, w, h;
    if (!GetCtlRect(main_win, id, x, y, w, h)) {
      out << "  " << id << " missing\n";
      continue;
    }
    out << "  " << id << " \"" << GetCtlText(main_win, id) << "\" " << x << "," << y << "," << w;
    if (!IsCtlEnabled(main_win, id)) out << " disabled";
    out << "\n";
  }
  return out.str();
}

inline std::string ReadGolden(const std::string& name) {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/tests/shell/data/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace vna::test
