// Three small modal dialogs of the main graph: "Parameters to Plot", "SWR
// Ruler" and " Marker". Their handlers only run the dialogs; the commands
// that open them act on what they hand back.
#pragma once

namespace vna {

// dlg_plot_params: each box switches its trace; switching on a trace that
// shares its axis with another switches that one off. Enter closes with 1
// and redraws the graph; Cancel closes with 2 and keeps the switches as
// they were left.
int PlotParamsHandler();
// dlg_swr_ruler: the field opens with swr_ruler; Enter hands the field's
// text back in dlg_text1 with result 1.
int SWRRulerHandler();
// The "SWR Ruler" dialog: Enter with a value moves the ruler line to it (below
// 1 removes it); an empty field or the close box changes nothing.
void EnterSwrRuler();
// dlg_marker: the field opens with freq; Insert, Remove and Cancel hand the
// field's text back in dlg_text1, set cmd_param to 1, 2 or 0 and close with 1.
int MarkerDlgHandler();

}  // namespace vna
