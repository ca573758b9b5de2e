; The setup program's and the uninstaller's own texts, in English and German. The pages' standard
; texts come from the Modern UI's language files.

LangString QvSecProgram ${LANG_ENGLISH} "Quorvex (required)"
LangString QvSecProgram ${LANG_GERMAN} "Quorvex (erforderlich)"
LangString QvSecProgramInfo ${LANG_ENGLISH} "The program, its two libraries, the language files and the Start menu entries."
LangString QvSecProgramInfo ${LANG_GERMAN} "Das Programm, seine beiden Bibliotheken, die Sprachdateien und die Einträge im Startmenü."
LangString QvSecStartup ${LANG_ENGLISH} "Start Quorvex when Windows starts"
LangString QvSecStartup ${LANG_GERMAN} "Quorvex beim Start von Windows starten"
LangString QvSecStartupInfo ${LANG_ENGLISH} "At each log-on Quorvex changes what is due and stays in the notification area as the agent."
LangString QvSecStartupInfo ${LANG_GERMAN} "Bei jeder Anmeldung wechselt Quorvex, was fällig ist, und bleibt als Agent im Infobereich."

; Start-menu entries; an upgrade in the other language and the uninstaller remove both names.
!define QV_LINK_HELP_EN "Quorvex Help"
!define QV_LINK_HELP_DE "Quorvex-Hilfe"
!define QV_LINK_UNINSTALL_EN "Uninstall Quorvex"
!define QV_LINK_UNINSTALL_DE "Quorvex deinstallieren"
LangString QvLinkHelp ${LANG_ENGLISH} "${QV_LINK_HELP_EN}"
LangString QvLinkHelp ${LANG_GERMAN} "${QV_LINK_HELP_DE}"
LangString QvLinkUninstall ${LANG_ENGLISH} "${QV_LINK_UNINSTALL_EN}"
LangString QvLinkUninstall ${LANG_GERMAN} "${QV_LINK_UNINSTALL_DE}"

LangString QvAgentStillRuns ${LANG_ENGLISH} "Quorvex is still running and did not end when asked to.$\r$\nEnd it from its icon in the notification area, then press Retry."
LangString QvAgentStillRuns ${LANG_GERMAN} "Quorvex läuft noch und hat sich auf Anfrage nicht beendet.$\r$\nBeenden Sie es über sein Symbol im Infobereich und klicken Sie dann auf Wiederholen."
LangString QvDetailAgentEnded ${LANG_ENGLISH} "Ended the running Quorvex agent; it starts again when setup is done."
LangString QvDetailAgentEnded ${LANG_GERMAN} "Der laufende Quorvex-Agent wurde beendet; er startet nach der Installation wieder."
LangString QvDetailAgentStarted ${LANG_ENGLISH} "Started the Quorvex agent again."
LangString QvDetailAgentStarted ${LANG_GERMAN} "Der Quorvex-Agent wurde wieder gestartet."

LangString QvDetailUndo ${LANG_ENGLISH} "Putting back the boot screen, the logon screen and the browser toolbar..."
LangString QvDetailUndo ${LANG_GERMAN} "Startbildschirm, Anmeldebildschirm und Browser-Symbolleiste werden wiederhergestellt..."
LangString QvBootStillNamed ${LANG_ENGLISH} "boot.ini still starts Windows with QVLOGO.EXE, so that file is left in place. Run the uninstaller again, or remove /KERNEL=QVLOGO.EXE from boot.ini by hand first."
LangString QvBootStillNamed ${LANG_GERMAN} "boot.ini startet Windows noch mit QVLOGO.EXE; diese Datei bleibt deshalb erhalten. Starten Sie die Deinstallation erneut oder entfernen Sie zuerst /KERNEL=QVLOGO.EXE von Hand aus boot.ini."
LangString QvLogonStillNamed ${LANG_ENGLISH} "Windows still logs on with QVUIHOST.EXE, so that file is left in place. Run the uninstaller again to give Windows back its own logon screen."
LangString QvLogonStillNamed ${LANG_GERMAN} "Windows meldet sich noch mit QVUIHOST.EXE an; diese Datei bleibt deshalb erhalten. Starten Sie die Deinstallation erneut, um den Anmeldebildschirm von Windows wiederherzustellen."
LangString QvKeepSettings ${LANG_ENGLISH} "Keep your Quorvex settings and the current wallpaper for a later installation?$\r$\n$\r$\nNo removes them, and the desktop goes back to no wallpaper."
LangString QvKeepSettings ${LANG_GERMAN} "Möchten Sie Ihre Quorvex-Einstellungen und das aktuelle Hintergrundbild für eine spätere Installation behalten?$\r$\n$\r$\nNein entfernt sie, und der Desktop hat danach kein Hintergrundbild."
