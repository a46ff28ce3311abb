// The crystal data file (".xdat"): one line per saved crystal, appended to a
// file the user picks, for a spreadsheet or an editor. The program never
// reads it back.
#pragma once

namespace vna {

// Appends the results of the last crystal measurement (the xtal_ globals of
// tools/state.h) under a sequence number the user confirms. A new file gets a
// creation line and a column line first. An existing file keeps its contents
// whatever happens: the new contents are written beside it and take its
// place only when complete; a file that cannot be written is reported.
void SaveXtalData();

}  // namespace vna
