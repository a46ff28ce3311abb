// The TDR file (".tdr"): one stored TDR trace with the settings that draw it
// again, its title and its time stamp, one value per line. The auto-save
// file "last_VNATDR_file.tdr" lies in the current folder.
#pragma once

namespace vna {

// auto_save 0 asks for the file with the save dialog (a title shorter than
// two characters then takes the file's name); otherwise writes the path in
// file_name. ".tdr" is appended to a name without it. An automatic write
// over a file LoadTDR refused in this run moves that file aside first and
// keeps it (refused_file.h). Leaves 3 decimals.
void SaveTDR(int auto_save);

// auto_save 0 asks with the open dialog; otherwise reads the path in
// file_name. A file that cannot be opened is ignored silently; a file larger
// than any TDR file, whose point count is not 4..2099, that ends before its
// last response line, that holds a line without a number where one belongs,
// whose frequency step no instrument has, or whose rho full scale, feet per
// sample or averaging no trace can be drawn with, is refused with a message,
// and nothing changes. A loaded trace is drawn with its own point count and
// feet per sample over a new TDR frame, which rewrites the auto-save file.
// Leaves 3 decimals and rebuilds the menus.
void LoadTDR(int auto_save);

}  // namespace vna
