; The installer for one user: no administrator rights, the program in the user's own
; program folder, an entry in the Start menu and an uninstaller that Windows lists.
; scripts/release.sh defines VERSION (four parts, where Windows needs them), RELEASE (the
; three parts the program is named by), STAGE (the folder of files to ship), ICON and OUTFILE.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Zelto - Reminder"
!define PUBLISHER "Orvandel Software"
!define PROGRAM "Reminder.exe"
!define UNINSTALLER "Deinstallieren.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZeltoReminder"
!define SETTINGS_KEY "Software\Orvandel Software\Reminder"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The main window's command "Beenden".
!define CMD_EXIT 101
; SYNCHRONIZE and PROCESS_QUERY_LIMITED_INFORMATION.
!define PROCESS_ACCESS 0x00101000

; The installed program, when this run ended it: a silent update starts it again.
Var RestartProgram

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zelto Reminder"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TEXT "${PRODUCT} ist installiert. Das Programm läuft im Infobereich der Taskleiste neben der Uhr; ein Doppelklick auf sein Symbol öffnet die Liste der Erinnerungen."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PRODUCT} installieren"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${RELEASE}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "© ${PUBLISHER}"

; Ends a running program through its own "Beenden", so that it saves its window position
; before its files and settings are touched, and waits until its files are free. The program
; runs once per session; a host's module closes its window and leaves the host running. A
; window that stays is the user's to close; a silent run goes on without it. Remembers the
; installed program in RestartProgram when it was the one ended.
!macro CLOSE_RUNNING_PROGRAM un
  Function ${un}CloseRunningProgram
    retry:
      FindWindow $0 "TMain" "${PRODUCT}"
      ${If} $0 = 0
        Return
      ${EndIf}
      System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1)"
      System::Call "kernel32::OpenProcess(i ${PROCESS_ACCESS}, i 0, i r1) p .r2"
      System::Call "kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r4, *i ${NSIS_MAX_STRLEN}) i .r5"
      GetFullPathName /SHORT $4 $4
      GetFullPathName /SHORT $5 "$INSTDIR\${PROGRAM}"
      ${If} $4 != ""
      ${AndIf} $4 == $5
        StrCpy $RestartProgram "$INSTDIR\${PROGRAM}"
      ${EndIf}
      SendMessage $0 ${WM_COMMAND} ${CMD_EXIT} 0 /TIMEOUT=5000
      StrCpy $3 0
      ${DoWhile} $3 < 100
        IsWindow $0 0 gone
        Sleep 100
        IntOp $3 $3 + 1
      ${Loop}
      System::Call "kernel32::CloseHandle(p r2)"
      MessageBox MB_ABORTRETRYIGNORE|MB_ICONEXCLAMATION "${PRODUCT} läuft noch. Bitte beenden Sie das Programm (Rechtsklick auf sein Symbol neben der Uhr, „Beenden“) und wählen Sie dann „Wiederholen“." /SD IDIGNORE IDRETRY retry IDIGNORE done
      Abort
    gone:
      System::Call "kernel32::WaitForSingleObject(p r2, i 5000)"
      System::Call "kernel32::CloseHandle(p r2)"
      Goto retry
    done:
  FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAM ""
!insertmacro CLOSE_RUNNING_PROGRAM "un."

Section
  Call CloseRunningProgram
  SetOutPath "$INSTDIR"
  File "${STAGE}/*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${RELEASE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; Without the finish page nobody would start it, and nothing would remind until the next
  ; log-on.
  ${If} ${Silent}
  ${AndIf} $RestartProgram != ""
    Exec '"$RestartProgram"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.CloseRunningProgram

  ; The log-on entry the program makes when "Bei jedem Windowsstart öffnen" is on names the
  ; short form of its folder: in the machine's Run key, which only an administrator may
  ; change, or else in the user's.
  GetFullPathName /SHORT $1 "$INSTDIR"
  ReadRegStr $0 HKLM "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == "$1\${PROGRAM}"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == "$1\${PROGRAM}"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  ClearErrors
  Delete "$INSTDIR\Reminder.exe"
  Delete "$INSTDIR\Reminder.dll"
  Delete "$INSTDIR\ReminderHost.exe"
  Delete "$INSTDIR\reminderctl.exe"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\LICENSE.txt"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Einige Dateien in $INSTDIR werden noch benutzt, etwa Reminder.dll von einem Programm, das sie geladen hat. Bitte löschen Sie sie, sobald dieses Programm beendet ist." /SD IDOK
  ${EndIf}
  ; Left behind by a save that was interrupted, and the writers' lock file, which holds
  ; nothing.
  Delete "$INSTDIR\Reminder.dat.tmp*"
  Delete "$INSTDIR\Reminder.dat.lock"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; What "Reminder.exe /DEINSTALL" removes, without its message.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"

  ; The reminders, with the copies kept of a damaged file, go only when the user says so.
  ${If} ${FileExists} "$INSTDIR\Reminder.dat"
  ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Sollen auch Ihre Erinnerungen (Reminder.dat) gelöscht werden? Mit „Nein“ bleiben sie im Ordner $INSTDIR erhalten." /SD IDNO IDYES`
    Delete "$INSTDIR\Reminder.dat*"
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
