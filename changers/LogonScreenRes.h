// Resource ids of the logon screen changer's script (LogonScreen.rc).
#pragma once

// The user-interface description written into the logon program copy as "UIFILE" 1000.
#define IDR_LOGON_UIFILE 155
