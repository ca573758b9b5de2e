// What the boot.ini setup dialog, the new boot.ini dialog and their two wizard pages decide,
// apart from their windows: the entries offered for marking and the one preselected, the save
// of a choice, and the text and bytes of a new boot.ini. Dialog and page share these functions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "boot/BootINI.h"

namespace qv {

// One row of the list of entries: the pair's index in the operating-systems section, its
// display name and the full line "key=value" without a trailing kernel switch.
struct BootEntryRow {
  std::size_t pairIndex = 0;
  std::string name;
  std::string fullLine;
};

struct BootEntryChoice {
  std::vector<BootEntryRow> rows;
  int preselected = -1;  // the row selected for the user, or -1
};

// The Windows entries of the operating-systems section that are not backups, in file order.
// Preselected is the first row whose name holds "2000" on Windows 2000, or whose lower-cased
// name holds "xp" on any other generation. No section: no rows (logged).
BootEntryChoice OfferedBootEntries(const BootINI& model, int generation);

enum class BootEntrySave {
  NoSelection,   // nothing chosen: the caller shows "0006" and keeps the list
  InvalidIndex,  // the index names no pair of the section (logged)
  Saved,         // marked and written, or already marked
  WriteFailed,   // marked, but the file could not be written: the caller shows "0007"
};

// Marks pair pairIndex (-1: none chosen) of the model's operating-systems section, writing path.
BootEntrySave SaveBootEntry(BootINI& model, long pairIndex, const std::string& path);

// The operating system's name in a new boot.ini for a Windows generation ("" for none known).
std::string NewBootIniSystemName(int generation);

// The last component of a Windows directory: the text after the last "\" or ":" that is
// followed by something other than "\" ("C:\WINDOWS" gives "WINDOWS").
std::string WindowsFolderName(const std::string& windowsDirectory);

// The text a new boot.ini starts with (shown and editable) and its backup line (not shown).
// Both are empty when the Windows directory is unknown ("") or not on drive C (logged).
struct NewBootIniTexts {
  std::string mainText;
  std::string backupLine;
};
NewBootIniTexts MakeNewBootIniTexts(const std::string& windowsDirectory, int generation);

// The new file's bytes: the main text with the kernel switch at the end of its last line, then
// the backup line; every line ends in CR LF, whatever line ends the text was edited with, and
// line ends after the last line are dropped so the switch never lands on an empty line.
// "" when the main text is empty or holds only line ends.
std::string NewBootIniBytes(const std::string& mainText, const std::string& backupLine);

enum class NewBootIniWrite { Empty, Written, Failed };

// Writes NewBootIniBytes to path as a complete new file (the previous content, if any, kept as
// path + ".qvbak"), then sets it read-only, hidden, system and archive. Empty writes nothing;
// Failed is logged.
NewBootIniWrite WriteNewBootIni(const std::string& path, const std::string& mainText,
                                const std::string& backupLine);

}  // namespace qv
