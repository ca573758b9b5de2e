; The Quorvex setup program and its uninstaller. Built by the build (installer/CMakeLists.txt):
;   makensis -INPUTCHARSET UTF8 -DQV_STAGE=<folder> -DQV_OUTFILE=<setup.exe> -DQV_ICON=<ico>
;            [-DQV_AMD64] [-DQV_HELP] Quorvex.nsi
; QV_STAGE holds the stripped program files; QV_AMD64 makes the setup of the 64-bit build; QV_HELP
; says that the stage holds Quorvex.chm.
;
; Silent use: "setup.exe /S [/NOSTARTUP] [/D=folder]"; "uninstall.exe /S [/REMOVESETTINGS]".

!define QV_NAME "Quorvex"
!define QV_VERSION "1.04"
!define QV_VERSION_QUAD "1.4.0.0"
!define QV_PUBLISHER "Quorvex"
!define QV_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex"
!define QV_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define QV_WINLOGON_KEY "SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon"
!define QV_TOOLBAR_KEY "Software\Microsoft\Internet Explorer\Toolbar"
!define QV_BOOT_INI "C:\boot.ini"

!ifdef QV_AMD64
  Target amd64-unicode
!else
  ; ANSI, so that the setup also runs on the Windows 9x family the program supports.
  Unicode false
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

Name "${QV_NAME} ${QV_VERSION}"
OutFile "${QV_OUTFILE}"
!ifdef QV_AMD64
  InstallDir "$PROGRAMFILES64\${QV_NAME}"
!else
  InstallDir "$PROGRAMFILES\${QV_NAME}"
!endif
; An earlier installation's folder is the default for an upgrade.
InstallDirRegKey HKLM "${QV_UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${QV_NAME} ${QV_VERSION}"

VIProductVersion "${QV_VERSION_QUAD}"
VIFileVersion "${QV_VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "${QV_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${QV_PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${QV_NAME} ${QV_VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${QV_VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${QV_VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${QV_PUBLISHER}"
VIAddVersionKey /LANG=0 "OriginalFilename" "${QV_NAME}-${QV_VERSION}-setup.exe"

!define MUI_ICON "${QV_ICON}"
!define MUI_UNICON "${QV_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The language chosen at the start is kept for the uninstaller in the programs list's entry.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${QV_UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorvex.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; Offers the restart when a file in use could only be marked for removal.
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_RESERVEFILE_LANGDLL

!include "Texts.nsh"
!include "Agent.nsh"

Var AgentEnded  ; 1 when setup ended a running agent, which it then starts again

; Removes the Start-menu entries of either language (the shell folder context is the caller's).
!macro QV_REMOVE_LINKS
  Delete "$SMPROGRAMS\${QV_NAME}\${QV_NAME}.lnk"
  Delete "$SMPROGRAMS\${QV_NAME}\${QV_LINK_HELP_EN}.lnk"
  Delete "$SMPROGRAMS\${QV_NAME}\${QV_LINK_HELP_DE}.lnk"
  Delete "$SMPROGRAMS\${QV_NAME}\${QV_LINK_UNINSTALL_EN}.lnk"
  Delete "$SMPROGRAMS\${QV_NAME}\${QV_LINK_UNINSTALL_DE}.lnk"
!macroend

Section "$(QvSecProgram)" SecProgram
  SectionIn RO
  StrCpy $AgentEnded 0
  ${Do}
    Call QvEndAgent
    ${If} $R0 = 1
      StrCpy $AgentEnded 1
      DetailPrint "$(QvDetailAgentEnded)"
    ${EndIf}
    ${If} $R0 <> -1
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(QvAgentStillRuns)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}

  SetOutPath "$INSTDIR"
  File "${QV_STAGE}/Quorvex.exe"
  File "${QV_STAGE}/pv.dll"
  File "${QV_STAGE}/kz.dll"
!ifdef QV_HELP
  File "${QV_STAGE}/Quorvex.chm"
!endif
  SetOutPath "$INSTDIR\language"
  File "${QV_STAGE}/language/*.lng"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program for every user of the machine; the start with Windows is the installing user's.
  SetShellVarContext all
  !insertmacro QV_REMOVE_LINKS
  CreateDirectory "$SMPROGRAMS\${QV_NAME}"
  CreateShortcut "$SMPROGRAMS\${QV_NAME}\${QV_NAME}.lnk" "$INSTDIR\Quorvex.exe" "" "$INSTDIR\Quorvex.exe" 0
!ifdef QV_HELP
  CreateShortcut "$SMPROGRAMS\${QV_NAME}\$(QvLinkHelp).lnk" "$INSTDIR\Quorvex.chm"
!endif
  CreateShortcut "$SMPROGRAMS\${QV_NAME}\$(QvLinkUninstall).lnk" "$INSTDIR\uninstall.exe" "" "$INSTDIR\uninstall.exe" 0
  SetShellVarContext current

  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "DisplayName" "${QV_NAME}"
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "DisplayVersion" "${QV_VERSION}"
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "Publisher" "${QV_PUBLISHER}"
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorvex.exe,0"
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${QV_UNINSTALL_KEY}" "VersionMajor" 1
  WriteRegDWORD HKLM "${QV_UNINSTALL_KEY}" "VersionMinor" 4
  WriteRegDWORD HKLM "${QV_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${QV_UNINSTALL_KEY}" "NoRepair" 1
  ; Also for silent installs, which show no page that would store it.
  WriteRegStr HKLM "${QV_UNINSTALL_KEY}" "Installer Language" $LANGUAGE
  ${GetSize} "$INSTDIR" "/S=0K" $R1 $R2 $R3
  WriteRegDWORD HKLM "${QV_UNINSTALL_KEY}" "EstimatedSize" $R1
SectionEnd

Section "$(QvSecStartup)" SecStartup
  WriteRegStr HKCU "${QV_RUN_KEY}" "${QV_NAME}" '"$INSTDIR\Quorvex.exe" -r'
SectionEnd

; Turning the option off in an upgrade takes the earlier start-up entry away.
Section "-Start-up entry"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    DeleteRegValue HKCU "${QV_RUN_KEY}" "${QV_NAME}"
  ${EndIf}
SectionEnd

; Last: the agent that setup ended runs again, now the new program. Its start-up run is the one
; the system would give it at log-on.
Section "-Restart agent"
  ${If} $AgentEnded = 1
    Exec '"$INSTDIR\Quorvex.exe" -r'
    DetailPrint "$(QvDetailAgentStarted)"
  ${EndIf}
SectionEnd

; After the sections, whose indexes it uses.
Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOSTARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

!include "Uninstall.nsh"
