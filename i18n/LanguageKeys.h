// The one registry of every (section, key) that the program looks up in the language files,
// one table per window, page, dialog or module. A module above this one keeps its keys in its own
// file and registers them here, so that they are listed once; the pages localise themselves from
// their table, and a test checks that the shipped files hold every entry.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

struct LanguageKey {
  const char* section;
  const char* key;
};

struct LanguageKeyTable {
  const char* user;  // the window, page, dialog or module that looks these up
  const LanguageKey* keys;
  std::size_t count;
};

// Every table: those of this module in a fixed order, then the registered ones.
const std::vector<LanguageKeyTable>& LanguageKeyTables();

// Adds the table of user (a window or page of a module above this one), kept for the life of the
// process. Returns true, so that a module can register at static construction.
bool RegisterLanguageKeys(const char* user, std::vector<LanguageKey> keys);

// The table of one user (as named in LanguageKeyTables), or nullptr.
const LanguageKeyTable* FindLanguageKeyTable(const char* user);

}  // namespace qv
