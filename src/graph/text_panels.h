// Lines of text around the plot box: the graph title under it, the date
// stamp of the shown scan, the file-name panel with the calibration range and
// the diagnostic line, and the supply-voltage readout.
#pragma once

namespace vna {

// The title of the shown graph (PortB_title in Port B mode, tdr_graph_title
// in TDR mode, else PortA_title), trimmed and cut to 120 characters, centred
// under the plot box but never left of title_min_x.
void DrawTitle();
// The date and time stamp at the lower left: now for live data (kept in
// scan_stamp), else the stored scan_stamp; sets title_min_x and graph_stamp.
void DrawDateStamp();
// Program version, calibration and config file names at the right, the
// calibration range at the top, the diagnostic line and the supply readout.
void DrawFilesPanel();
// The supply voltage (and a low-battery warning) in the info column, when
// the supply is monitored.
void DrawBattery(double volts);

}  // namespace vna
