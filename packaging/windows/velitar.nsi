; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer (NSIS): in Russian, for the current user alone and
; without administrator rights. It puts velitar.exe and the licences into the
; user's own programs folder (%LOCALAPPDATA%\Programs\Velitar), a shortcut
; «Велитарь» into the user's Start menu, and the program into Windows' list
; of installed apps (the current user's Uninstall key). Its uninstaller takes
; away all of that again. Installing over an installed version replaces it:
; the same folder, the same key, one entry in the list.
;
; The list of installed apps starts the uninstaller in place (_?=): it then
; leaves no copy of itself in the temporary folder, as NSIS's uninstallers
; otherwise do until the next restart, and a hidden command removes it and
; its folder once it has ended, however long its window stays open.
;
; A running Velitar holds its file, so that installing over it or taking it
; away would fail half-way: before anything is changed, each asks the user
; to close it (in Russian), and retries or cancels as the user chooses; run
; silently (/S), it cancels, with exit code 2. Nothing has been changed then.
;
; makensis -DVERSION=1.0.0 -DDIST=<folder of velitar.exe and licenses.txt>
;          -DICON=<velitar-start.ico> -DOUTFILE=<installer.exe> velitar.nsi
; With -DSIGN=<command>, the uninstaller is signed with that command ("%1"
; stands for the file) before it is packed.
; A 64-bit installer for a 64-bit program.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No time stamps from the build machine in the installer: the same bytes from
; every build of the same files.
SetDateSave off

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define APP_ID "org.velitar.Velitar"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define PUBLISHER "Velitar developers"
!define SHORTCUT "$SMPROGRAMS\Велитарь.lnk"

Name "Велитарь"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velitar"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Велитарь ${VERSION}"
!ifdef SIGN
  !uninstfinalize '${SIGN}'
!endif

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "Велитарь"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы «Велитарь»"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velitar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить «Велитарь»"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; NotRunning / un.NotRunning: returns once $INSTDIR\velitar.exe is not in use
; (or not there); quits with exit code 2, having changed nothing, if the user
; cancels. Windows refuses to open a running program's file for writing.
!macro NOT_RUNNING UN WHAT
Function ${UN}NotRunning
  retry:
  IfFileExists "$INSTDIR\velitar.exe" 0 free
  ClearErrors
  FileOpen $0 "$INSTDIR\velitar.exe" a
  IfErrors 0 closed
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Программа «Велитарь» сейчас открыта, и, пока она открыта, ${WHAT} невозможно.$\r$\n$\r$\nЗакройте программу и повторите попытку или отмените ${WHAT}." /SD IDCANCEL IDRETRY retry
  SetErrorLevel 2
  Quit
  closed:
  FileClose $0
  free:
FunctionEnd
!macroend
!insertmacro NOT_RUNNING "" "установку"
!insertmacro NOT_RUNNING "un." "удаление"

Section
  SetShellVarContext current
  Call NotRunning
  ; The user's programs folder is made by the first program installed there;
  ; if it is this one, its uninstaller takes the folder away again (if empty).
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VelitarMadeProgramsFolder" 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${DIST}/velitar.exe"
  File "${DIST}/licenses.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\velitar.exe" "" "$INSTDIR\velitar.exe" 0 SW_SHOWNORMAL "" \
    "Тест знаний для тех, кто служит в алтаре православного храма"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Велитарь"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velitar.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.NotRunning
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\velitar.exe"
  Delete "$INSTDIR\licenses.txt"
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "VelitarMadeProgramsFolder"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ; The uninstaller itself, and the folders, once it has ended, which is
  ; when the user closes its window: a hidden command tries to remove it
  ; every second (ping waits), for an hour at most; once it is gone, it
  ; removes the folders, if empty, and ends.
  StrCpy $1 'rmdir "$INSTDIR" 2>nul'
  ${If} $0 = 1
    StrCpy $1 '$1 & rmdir "$LOCALAPPDATA\Programs" 2>nul'
  ${EndIf}
  StrCpy $1 'for /l %i in (1,1,3600) do @if exist "$INSTDIR\uninstall.exe" (ping -n 2 127.0.0.1 >nul & del /f /q "$INSTDIR\uninstall.exe" 2>nul) else ($1 & exit)'
  SetOutPath "$TEMP" ; the command's working folder: not one it removes
  ExecShell "open" "$SYSDIR\cmd.exe" '/c $1' SW_HIDE
SectionEnd
