// The Config File Editor: a plain text window on the config file. It loads a
// config file into its edit field and saves the edited text under a chosen
// name; the values take effect at the next start, so after a save the
// instrument is treated as absent until then.
#pragma once

namespace vna {

// Opens the editor on config_file_path and waits in its own loop until the
// window is closed (or the program ends). A second call while it is open
// does nothing.
void ConfigEditor();
// Handler of cfg_editor_win: close, resize, and the File menu (Load File 1,
// Save as 2, Quit 3; Ctrl+S gives Save as).
int ConfigEditorHandler();

}  // namespace vna
