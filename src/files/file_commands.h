// The File menu's commands that load or save settings through a file
// dialog: a calibration file, a config file, a state file loaded and saved.
#pragma once

#include <string>

namespace vna {

// Load Calibration File: the file dialog, then LoadCalibrationPath with its
// choice.
void LoadCalibrationFile();
// The calibration file at path, as if chosen in the dialog (the exported
// loader passes its own path): a path of more than 2 characters becomes the
// calibration path, name and folder; with a line extension set the user is
// asked whether to zero it; GetPortACal(1) reads the file, and when it fails
// the previous path, name and folder come back. The files panel is redrawn in
// every case. vna_status as GetPortACal leaves it.
void LoadCalibrationPath(const std::string& path);
// Load Config File: the chosen config file becomes the config file in use and
// is loaded; a complete load asks for a restart and takes its window size.
void LoadConfigFile();
// Recall State: all settings from a state file, then its calibration and
// config files.
void LoadStateFile();
// Save State: all settings into a state file (no question before an existing
// file is replaced).
void SaveStateFile();

}  // namespace vna
