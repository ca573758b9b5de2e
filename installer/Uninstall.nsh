; The uninstaller. Order matters: the program first undoes its changes to the system ("-u" puts
; back boot.ini, Winlogon's logon program and the browser toolbar, and ends a running agent), and
; only then are its files removed: a kernel copy or logon program that the system still names is
; never deleted, since the machine would then not boot or not log on.

Var KeepSettings

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; In: $R1 a text, $R2 what to look for. Out: $R0 1 when $R1 holds $R2 in any case, else 0.
Function un.QvContains
  Push $R3
  Push $R4
  Push $R5
  StrLen $R3 $R2
  StrCpy $R4 0
  StrCpy $R0 0
  ${Do}
    StrCpy $R5 $R1 $R3 $R4
    ${IfThen} $R5 == "" ${|} ${Break} ${|}
    ${If} $R5 == $R2
      StrCpy $R0 1
      ${Break}
    ${EndIf}
    IntOp $R4 $R4 + 1
  ${Loop}
  Pop $R5
  Pop $R4
  Pop $R3
FunctionEnd

; Out: $R0 1 when a line of boot.ini still names the kernel copy.
Function un.QvBootIniNamesKernelCopy
  Push $R1
  Push $R2
  Push $R6
  StrCpy $R0 0
  ClearErrors
  FileOpen $R6 "${QV_BOOT_INI}" r
  ${IfNot} ${Errors}
    StrCpy $R2 "QVLOGO.EXE"
    ${Do}
      ClearErrors
      FileRead $R6 $R1
      ${IfThen} ${Errors} ${|} ${Break} ${|}
      Call un.QvContains
      ${IfThen} $R0 = 1 ${|} ${Break} ${|}
    ${Loop}
    FileClose $R6
  ${EndIf}
  Pop $R6
  Pop $R2
  Pop $R1
FunctionEnd

; Deletes a file the system no longer names, read-only or hidden as it may be.
!macro QV_DELETE_FILE path
  SetFileAttributes "${path}" NORMAL
  Delete "${path}"
!macroend

; The files the program wrote into the system: deleted only when nothing names them any more.
Function un.QvRemoveSystemFiles
  Call un.QvBootIniNamesKernelCopy
  ${If} $R0 = 1
    DetailPrint "$(QvBootStillNamed)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(QvBootStillNamed)" /SD IDOK
  ${Else}
    !insertmacro QV_DELETE_FILE "$SYSDIR\QVLOGO.EXE"
    !insertmacro QV_DELETE_FILE "$SYSDIR\QVLOGO.EXE.qvwork"
    !insertmacro QV_DELETE_FILE "${QV_BOOT_INI}.qvbak"
    !insertmacro QV_DELETE_FILE "${QV_BOOT_INI}.qvnew"
  ${EndIf}

  ReadRegStr $R1 HKLM "${QV_WINLOGON_KEY}" "UIHost"
  StrCpy $R2 "QVUIHOST.EXE"
  Call un.QvContains
  ${If} $R0 = 1
    DetailPrint "$(QvLogonStillNamed)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(QvLogonStillNamed)" /SD IDOK
  ${Else}
    !insertmacro QV_DELETE_FILE "$SYSDIR\QVUIHOST.EXE"
  ${EndIf}

  ; The toolbar picture: "-u" took its value away; a value left behind would name a lost file.
  ReadRegStr $R1 HKCU "${QV_TOOLBAR_KEY}" "BackBitmap"
  StrCpy $R2 "qvieskin.bmp"
  Call un.QvContains
  ${IfThen} $R0 = 1 ${|} DeleteRegValue HKCU "${QV_TOOLBAR_KEY}" "BackBitmap" ${|}
  !insertmacro QV_DELETE_FILE "$APPDATA\${QV_NAME}\qvieskin.bmp"
  !insertmacro QV_DELETE_FILE "$WINDIR\qvieskin.bmp"
FunctionEnd

; A wallpaper value that names the program's bitmap ($R8 or $R9) is emptied; $R7 becomes 1.
!macro QV_FORGET_WALLPAPER_VALUE key value writer
  ReadRegStr $R1 HKCU "${key}" "${value}"
  ${If} $R1 == $R8
  ${OrIf} $R1 == $R9
    ${If} $R1 != ""
      ${writer} HKCU "${key}" "${value}" ""
      StrCpy $R7 1
    ${EndIf}
  ${EndIf}
!macroend

; Removing the settings takes the wallpaper bitmap too, so every place that names it is cleared
; and the desktop shows no wallpaper instead of a missing file.
Function un.QvForgetWallpaper
  StrCpy $R8 "$APPDATA\${QV_NAME}\qvwallpa.bmp"
  StrCpy $R9 "$WINDIR\qvwallpa.bmp"
  StrCpy $R7 0
  System::Call 'user32::SystemParametersInfo(i 0x73, i ${NSIS_MAX_STRLEN}, t .R1, i 0)'
  ${If} $R1 == $R8
  ${OrIf} $R1 == $R9
    StrCpy $R7 1
  ${EndIf}
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Control Panel\Desktop" "Wallpaper" WriteRegStr
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Control Panel\Desktop" "OriginalWallpaper" WriteRegStr
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Control Panel\Desktop" "ConvertedWallpaper" WriteRegStr
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Software\Microsoft\Windows\CurrentVersion\Themes\LastTheme" "Wallpaper" WriteRegExpandStr
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Software\Microsoft\Internet Explorer\Desktop\General" "Wallpaper" WriteRegStr
  !insertmacro QV_FORGET_WALLPAPER_VALUE "Software\Microsoft\Internet Explorer\Desktop\General" "BackupWallpaper" WriteRegStr
  ReadINIStr $R1 "$WINDIR\win.ini" "Desktop" "Wallpaper"
  ${If} $R1 == $R8
  ${OrIf} $R1 == $R9
    WriteINIStr "$WINDIR\win.ini" "Desktop" "Wallpaper" ""
    StrCpy $R7 1
  ${EndIf}
  ${If} $R7 = 1
    ; SPI_SETDESKWALLPAPER, written to the profile and announced to every window.
    System::Call 'user32::SystemParametersInfo(i 0x14, i 0, t "", i 3)'
  ${EndIf}
FunctionEnd

; The hook library stays loaded in programs that got messages while the agent's hook was set,
; until they next pump messages (Windows) or end (Wine): a few tries, then at the next start.
Function un.QvDeleteHookLibrary
  ${For} $R1 1 10
    Delete "$INSTDIR\pv.dll"
    ${IfNot} ${FileExists} "$INSTDIR\pv.dll"
      ${Break}
    ${EndIf}
    Sleep 500
  ${Next}
  Delete /REBOOTOK "$INSTDIR\pv.dll"
FunctionEnd

Function un.QvRemoveSettings
  Call un.QvForgetWallpaper
  Delete "$APPDATA\${QV_NAME}\qv.dat"
  Delete "$APPDATA\${QV_NAME}\qvwallpa.bmp"
  Delete "$WINDIR\qvwallpa.bmp"
  ; Without an application-data folder the program keeps its settings beside itself.
  Delete "$INSTDIR\Quorvex.dat"
FunctionEnd

; Runs "Quorvex.exe -u" and waits for it and for the agent it ends.
Function un.QvUndoAndEndAgent
  Push $R5
  Call un.QvOpenAgentProcess
  StrCpy $R5 $R0
  DetailPrint "$(QvDetailUndo)"
  ${If} ${FileExists} "$INSTDIR\Quorvex.exe"
    ExecWait '"$INSTDIR\Quorvex.exe" -u'
  ${EndIf}
  StrCpy $R0 $R5
  Call un.QvWaitForAgentProcess
  ; An agent that missed the undo run's message (or runs from elsewhere) is asked directly.
  ${Do}
    Call un.QvEndAgent
    ${If} $R0 <> -1
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(QvAgentStillRuns)" /SD IDCANCEL IDRETRY +2
    ${Break}
  ${Loop}
  Pop $R5
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.QvUndoAndEndAgent
  Call un.QvRemoveSystemFiles

  StrCpy $KeepSettings 1
  ${GetParameters} $R1
  ClearErrors
  ${GetOptions} $R1 "/REMOVESETTINGS" $R2
  ${IfNot} ${Errors}
    StrCpy $KeepSettings 0
  ${ElseIf} ${FileExists} "$APPDATA\${QV_NAME}\qv.dat"
  ${OrIf} ${FileExists} "$APPDATA\${QV_NAME}\qvwallpa.bmp"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(QvKeepSettings)" /SD IDYES IDYES +2
    StrCpy $KeepSettings 0
  ${EndIf}
  ${If} $KeepSettings = 0
    Call un.QvRemoveSettings
  ${EndIf}
  Delete "$APPDATA\${QV_NAME}\*.qvnew"
  RMDir "$APPDATA\${QV_NAME}"

  Delete /REBOOTOK "$INSTDIR\Quorvex.exe"
  Call un.QvDeleteHookLibrary
  Delete /REBOOTOK "$INSTDIR\kz.dll"
  Delete "$INSTDIR\Quorvex.chm"
  Delete "$INSTDIR\language\*.lng"
  RMDir "$INSTDIR\language"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  SetShellVarContext all
  !insertmacro QV_REMOVE_LINKS
  RMDir "$SMPROGRAMS\${QV_NAME}"
  SetShellVarContext current
  !insertmacro QV_REMOVE_LINKS
  RMDir "$SMPROGRAMS\${QV_NAME}"

  DeleteRegValue HKCU "${QV_RUN_KEY}" "${QV_NAME}"
  DeleteRegKey HKLM "${QV_UNINSTALL_KEY}"
SectionEnd
