// The number box and the input parsers.
#include "shell/number_entry.h"

#include <cctype>
#include <string>

#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

void InputNumber() {
  dlg_result = RunModal(dlg_enter_data, &main_win);
  input_scale = 1.0;
  if (dlg_result == 1) {
    // The number is read from the whole text, before a "k" is cut off.
    if (!dlg_text1.empty()) input_value = ParseNumber(dlg_text1);
    msg_text = dlg_text1;
    ParseKSuffix();
  }
  FocusForm(main_win);
  focus_win = 1;
}

int EnterDataHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_enter_data);
    SetTitle(dlg_enter_data, msg_text);
    SetCtlText(dlg_enter_data, 1, " " + NumStr(input_value));
    // Only Enter hands a text back; the close box gives the handler no word.
    dlg_text1.clear();
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_enter_data, 1);
    CloseDialog(dlg_enter_data, 1);
  } else if (msg_id == kEvCommand && msg_ctl_id == 3) {
    dlg_text1.clear();
    CloseDialog(dlg_enter_data, 2);
  }
  return 0;
}

void ParseKSuffix() {
  for (char& c : msg_text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t k = msg_text.find('k');
  if (k != std::string::npos) {
    input_scale = 0.001;
    msg_text.resize(k);
  } else {
    input_scale = 1.0;
  }
}

namespace {

bool IsNumChar(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
}

// The end of an exponent ("e" or "E", an optional sign, digits) that starts
// at s[i] right after a digit or "."; i itself when there is none.
size_t ExponentEnd(const std::string& s, size_t i) {
  if (i == 0 || i >= s.size() || !IsNumChar(s[i - 1]) || (s[i] != 'e' && s[i] != 'E')) return i;
  size_t e = i + 1;
  if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
  if (e >= s.size() || !std::isdigit(static_cast<unsigned char>(s[e]))) return i;
  while (e < s.size() && std::isdigit(static_cast<unsigned char>(s[e]))) ++e;
  return e;
}

}  // namespace

void ParseComplexZ() {
  const std::string& s = msg_text;
  const size_t n = s.size();
  input_value = 0;
  input_imag = 0;
  std::string collected;
  bool digit_seen = false;
  size_t i = 0;

  // Resistance: a sign before the first digit belongs to it; a sign or a
  // blank after a digit starts the reactance. An exponent ("1.5e3") stays
  // with the number it follows, its sign too.
  bool r_ended = false;
  for (; i < n; ++i) {
    const char c = s[i];
    if (const size_t e = ExponentEnd(s, i); digit_seen && e > i) {
      collected += s.substr(i, e - i);
      i = e - 1;
    } else if (!digit_seen && c == '-') {
      collected += c;
    } else if (digit_seen && (c == '-' || c == '+' || c == ' ')) {
      input_value = ParseNumber(collected);
      r_ended = true;
      break;
    } else if (IsNumChar(c)) {
      collected += c;
      digit_seen = true;
    }
  }
  if (!r_ended) {
    if (!collected.empty()) input_value = ParseNumber(collected);
    return;
  }

  // Reactance: every "-" counts; "j", "i" or a blank after a digit, or the
  // end of the text, closes it.
  collected.clear();
  digit_seen = false;
  while (i < n) {
    const char c = s[i];
    if (const size_t e = ExponentEnd(s, i); digit_seen && e > i) {
      collected += s.substr(i, e - i);
      i = e;
      if (i >= n) {
        input_imag = ParseNumber(collected);
        return;
      }
      continue;
    }
    if (c == '-') collected += c;
    ++i;
    if (IsNumChar(c)) {
      collected += c;
      digit_seen = true;
    }
    const bool closer = c == 'j' || c == 'i' || c == 'J' || c == 'I' || c == ' ';
    if ((digit_seen && closer) || i >= n) {
      input_imag = ParseNumber(collected);
      return;
    }
  }
}

}  // namespace vna
