// Graph routines and globals other folders use. All of them are built: their
// headers are included here, so the callers written against this file find
// those routines and the geometry globals.
#pragma once

#include "graph/clear_graph.h"
#include "graph/cursor_data.h"
#include "graph/cursor_readout.h"
#include "graph/freq_grid.h"
#include "graph/graph_dialogs.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/legend.h"
#include "graph/marker_lines.h"
#include "graph/marker_commands.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "graph/redraw.h"
#include "graph/scales_dialogs.h"
#include "graph/state.h"
#include "graph/styles.h"
#include "graph/text_panels.h"
#include "graph/trace_plot.h"
