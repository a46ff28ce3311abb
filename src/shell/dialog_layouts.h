// The control lists of every dialog, by topic; DefineDialogs puts them
// together with titles, sizes and handlers. Rectangles are pixels of the
// dialog's client area at the platform dialog font.
#pragma once

#include <vector>

#include "platform/ui.h"

namespace vna::dlgdef {

using Controls = std::vector<ControlDef>;

// Dialogs of the shell's own entries.
Controls CableZoControls();
Controls CommentControls();
Controls CommPortControls();
Controls EnterDataControls();
Controls RulersControls();
Controls AverageControls();
Controls DelayTimeControls();
Controls AboutControls();

// Instrument control and calibration.
Controls ConstFreqControls();
Controls VnaTestControls();
Controls MuxControls();
Controls CalLimitsControls();
Controls CalibrationControls();
Controls CableDataControls();
Controls LineExtControls();

// Scans, graphs and analysis tools.
Controls ScanLimitsControls();
Controls GraphScalesControls();
Controls VelocityFactorControls();
Controls CrystalMeasControls();
Controls CrystalParamsControls();
Controls PlotParamsControls();
Controls EnterFreqControls();
Controls SwrRulerControls();
Controls TuningStubControls();
Controls SmoothingControls();
Controls MarkerControls();
Controls StyleControls();
Controls ColorsControls();
Controls TdrScalesControls();

// The dialogs kept for their records, which nothing opens
// (dialogs_kept_for_records.cpp).
Controls CableLengthControls();
Controls MeasResultsControls();
Controls TestFreqControls();
Controls LineLengthControls();
Controls VoiceControls();
Controls SweepControls();
Controls TouchstoneControls();
Controls GainControls();
Controls ChanRefControls();
Controls RefCirclesControls();
Controls ArrayCurrentControls();

}  // namespace vna::dlgdef
