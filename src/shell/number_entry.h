// The number box " Enter Data " and the text parsers every typed value goes
// through. All of them work on the shared scratch globals of shell/state.h
// (msg_text, input_value, input_imag, input_scale) and the dialog results
// (dlg_result, dlg_text1); a later box overwrites them, so callers copy what
// they need at once.
#pragma once

namespace vna {

// Shows msg_text as the box's title and input_value in its field. Accepted
// with a non-empty text: input_value := the text's number, msg_text := the
// text in lower case cut before its first "k", input_scale := 0.001 when
// there was a "k" (else 1). Focus back to main_win, focus_win := 1.
void InputNumber();

// Handler of dlg_enter_data; also run directly by callers that parse
// dlg_text1 themselves. Enter (2) hands the field's text back in dlg_text1
// and closes with 1; Cancel (3) and the close box leave dlg_text1 empty.
int EnterDataHandler();

// msg_text := lower case of msg_text, cut before its first "k";
// input_scale := 0.001 when a "k" was there, else 1.0.
void ParseKSuffix();

// Reads a complex impedance typed as resistance and reactance ("50",
// "50-j25", "50 + j 12.5", "50-25j", "50 25") from msg_text (left as it is)
// into input_value (R) and input_imag (X). Never refuses a text: what is not
// part of a number is skipped.
void ParseComplexZ();

}  // namespace vna
