; The installer: Torvane Search for all users under Program Files, a Start-menu shortcut, and an
; uninstaller listed in "Apps & features". scripts/package makes it:
;   makensis -DVERSION=0.1.0 -DVERSION_NUMBERS=0.1.0.0 -DSTAGE=<folder of the files>
;            -DLICENCE=<licence page text> -DICON=<.ico> -DOUTFILE=<setup.exe> torvane-search.nsi
; /S installs and uninstalls silently; /D=<folder> (last on the command line) picks another folder.
; The program keeps its settings beside itself only where it may write; under Program Files that is
; "Torvane Search" in each user's local application data folder. Installing over an older version
; replaces the program files alone, and uninstalling leaves the settings unless the user ticks them.

!ifndef VERSION | VERSION_NUMBERS | STAGE | LICENCE | ICON | OUTFILE
  !error "VERSION, VERSION_NUMBERS, STAGE, LICENCE, ICON and OUTFILE are given by scripts/package"
!endif

Unicode true
; A 64-bit installer for a 64-bit program: Program Files and the registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Torvane Search"
!define PUBLISHER "Torvane"
!define WEBSITE "https://www.torvane.com/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_FOLDER "$LOCALAPPDATA\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the older version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; The last page offers to start the program, ticked. The installer runs as administrator; the program
; is started through the shell, so that it runs as the user and keeps the user's own settings.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
; The components page's list is narrow: the settings' item has a short name, and the text above the
; list says what it holds.
!define MUI_COMPONENTSPAGE_TEXT_TOP "Tick $\"Your settings$\" to remove your search cache, the histories of \
  $\"Named:$\" and $\"Look in:$\" and the window layout as well. Left unticked, they stay for a later install."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The files the installer puts down; the uninstaller removes exactly these.
!macro ProgramFiles Action
  !insertmacro ${Action} "torvane-search.exe"
  !insertmacro ${Action} "torvane-find.exe"
  !insertmacro ${Action} "README.txt"
  !insertmacro ${Action} "LICENSE.txt"
!macroend
!macro InstallFile Name
  File "${STAGE}\${Name}"
!macroend
!macro RemoveFile Name
  Delete "$INSTDIR\${Name}"
!macroend

; The settings files the program writes.
!macro SettingsFiles Folder
  Delete "${Folder}\search.cache"
  Delete "${Folder}\kestrix.ini"
  Delete "${Folder}\kestrixfolders.ini"
  Delete "${Folder}\kestrixlayout.ini"
!macroend

; A running program holds its file open: installing or uninstalling waits until it is closed. Silent
; runs give up at once (exit code 2).
!macro WaitWhileRunning
  ${Do}
    FindWindow $0 "TForm1"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it, then click Retry." \
      /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  SetShellVarContext all
  !insertmacro WaitWhileRunning
FunctionEnd

Section "Program"
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles InstallFile
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\torvane-search.exe" "" "$INSTDIR\torvane-search.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\torvane-search.exe$\",0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; "Search with Torvane Search" in Explorer's menu of a folder, a folder's background and a drive: the
; window opens with "Look in:" set to that folder and waits in "Named:" (%V is the folder; a drive's
; root arrives as 'C:"', which the program reads as C:).
!define VERB_KEY "TorvaneSearch"
!macro ExplorerVerbKeys Action
  !insertmacro ${Action} "Software\Classes\Directory\shell\${VERB_KEY}"
  !insertmacro ${Action} "Software\Classes\Directory\Background\shell\${VERB_KEY}"
  !insertmacro ${Action} "Software\Classes\Drive\shell\${VERB_KEY}"
!macroend
!macro WriteVerb Key
  WriteRegStr HKLM "${Key}" "" "Search with ${PRODUCT}"
  WriteRegStr HKLM "${Key}" "Icon" "$INSTDIR\torvane-search.exe,0"
  WriteRegStr HKLM "${Key}\command" "" "$\"$INSTDIR\torvane-search.exe$\" --no-search $\"%V$\""
!macroend
!macro RemoveVerb Key
  DeleteRegKey HKLM "${Key}"
!macroend

; An upgrade with the item unticked takes it away.
Section "-Forget the Explorer menu item"
  !insertmacro ExplorerVerbKeys RemoveVerb
SectionEnd

Section "Search with ${PRODUCT} in Explorer's menu" ExplorerVerb
  !insertmacro ExplorerVerbKeys WriteVerb
SectionEnd

; Explorer, which runs as the user, starts the program: started from here it would run as administrator.
Function RunProgram
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\torvane-search.exe"'
FunctionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro WaitWhileRunning
FunctionEnd

Section "-un.Program"
  !insertmacro ProgramFiles RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro ExplorerVerbKeys RemoveVerb
SectionEnd

; Off unless ticked, so a silent uninstall keeps them. They are those of the account that runs the
; uninstaller, and any the program kept beside itself (a folder it could write).
Section /o "un.Your settings" RemoveSettings
  SetShellVarContext current
  !insertmacro SettingsFiles "${SETTINGS_FOLDER}"
  RMDir "${SETTINGS_FOLDER}"
  SetShellVarContext all
  !insertmacro SettingsFiles "$INSTDIR"
SectionEnd

; Last, so that the folder goes only when nothing of the user's is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd
