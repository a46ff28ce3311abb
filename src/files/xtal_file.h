// The crystal data file (".xdat"): one line per saved crystal, appended to a
// file the user picks, for a spreadsheet or an editor. The program never
// reads it back.
#pragma once

namespace vna {

// Appends the results of the last crystal measurement (the xtal_ globals of
// tools/state.h) under a sequence number the user confirms. A new file gets a
// creation line and a column line first, written beside it and put in place
// when complete. An existing file is never read (it may be of any size): the
// line is appended, and one that cannot be written whole is taken back, so
// the file keeps what it held. A file that cannot be written is reported.
void SaveXtalData();

}  // namespace vna
