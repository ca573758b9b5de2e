; Finding and ending the resident agent, for the setup program (upgrades) and the uninstaller.
;
; The agent is found by its window class and caption, as the program finds it: the program's
; message boxes carry the same caption but not the class. Both names are read from the program's
; own header, so that the setup and the program cannot disagree.

!searchparse /file "${__FILEDIR__}/../platform/AgentWindow.h" '#define QV_AGENT_WINDOW_CLASS "' QV_WINDOW_CLASS '"'
!searchparse /file "${__FILEDIR__}/../platform/AgentWindow.h" '#define QV_AGENT_WINDOW_CAPTION "' QV_WINDOW_CAPTION '"'
!define QV_MSG_QUIT_AGENT 2107
!define QV_SYNCHRONIZE 0x00100000
!define QV_AGENT_WAIT_MS 20000

!macro QV_AGENT_FUNCTIONS prefix

; Out: $R0 the agent's main window, or 0 when no agent runs.
Function ${prefix}QvFindAgentWindow
  FindWindow $R0 "${QV_WINDOW_CLASS}" "${QV_WINDOW_CAPTION}"
FunctionEnd

; Out: $R0 a handle to the agent's process that can be waited on, or 0 when none runs.
Function ${prefix}QvOpenAgentProcess
  Push $R1
  Call ${prefix}QvFindAgentWindow
  ${If} $R0 P<> 0
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
    System::Call 'kernel32::OpenProcess(i ${QV_SYNCHRONIZE}, i 0, i R1) p .R0'
  ${EndIf}
  Pop $R1
FunctionEnd

; In: $R0 from QvOpenAgentProcess. Waits for that process to end and closes the handle.
; Out: $R0 1 when it ended (or none ran), 0 when it still runs.
Function ${prefix}QvWaitForAgentProcess
  Push $R1
  ${If} $R0 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p R0, i ${QV_AGENT_WAIT_MS}) i .R1'
    System::Call 'kernel32::CloseHandle(p R0)'
    ${If} $R1 = 0
      StrCpy $R0 1
    ${Else}
      StrCpy $R0 0
    ${EndIf}
  ${Else}
    StrCpy $R0 1
  ${EndIf}
  Pop $R1
FunctionEnd

; Ends a running agent with its quit message, as its own tray menu would, and waits for it.
; It saves its settings on the way out; nothing of the system appearance is undone.
; Out: $R0 1 when an agent was running and has ended, 0 when none ran, -1 when it did not end.
Function ${prefix}QvEndAgent
  Push $R1
  Push $R2
  Call ${prefix}QvFindAgentWindow
  StrCpy $R2 $R0
  ${If} $R2 P= 0
    StrCpy $R0 0
  ${Else}
    Call ${prefix}QvOpenAgentProcess
    SendMessage $R2 ${QV_MSG_QUIT_AGENT} 0 0 /TIMEOUT=${QV_AGENT_WAIT_MS}
    Call ${prefix}QvWaitForAgentProcess
    ${IfThen} $R0 = 0 ${|} StrCpy $R0 -1 ${|}
  ${EndIf}
  Pop $R2
  Pop $R1
FunctionEnd

!macroend

!insertmacro QV_AGENT_FUNCTIONS ""
!insertmacro QV_AGENT_FUNCTIONS "un."
