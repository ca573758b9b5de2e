// The pages as the program makes them: the page factory that the main window is handed, and the
// start-up step that registers the picture header readers and loads the thumbnail library.
#pragma once

#include <memory>

#include "core/mainwindow/ConfigPage.h"

namespace qv {

// The page of a kind with the program's services; nullptr for kinds whose page is still to come.
std::unique_ptr<ConfigPage> MakeProgramPage(PageKind kind);

// Registers the header readers (once) and loads kz.dll from the program's folder; false (after
// "0004" with the stop icon) when the library cannot be used. The pages then show icons only.
bool PrepareProgramPages();

}  // namespace qv
