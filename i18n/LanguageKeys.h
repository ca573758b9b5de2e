// The one registry of every (section, key) that the program looks up in the language files,
// one table per window, page, dialog or module. The pages localise themselves from their table
// and a test checks that the English file holds every entry.
#pragma once

#include <cstddef>
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

// Every table, in a fixed order.
const std::vector<LanguageKeyTable>& LanguageKeyTables();

// The table of one user (as named in LanguageKeyTables), or nullptr.
const LanguageKeyTable* FindLanguageKeyTable(const char* user);

}  // namespace qv
