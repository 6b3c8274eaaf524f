; The Windows installer of Quirn Mobile Tool, built by tools/package.sh:
;   makensis -DVERSION=X.Y.Z -DPROGRAM=QuirnMobileTool.exe -DREADME=readme.txt
;            -DOUTFILE=QuirnMobileToolSetup-X.Y.Z.exe installer/quirn.nsi
; The version comes from the build (res/version.h, checked against the CMake project), never
; from here. Both the installer and its uninstaller take /S for a silent run; the installer
; takes /D=FOLDER (last on the command line) for another folder.

; A per-user install: the program keeps its profile beside itself, so it must live in a folder
; its user may write, and nothing of it needs elevation. Everything goes to the user's own
; folders and HKCU.

; A 64-bit installer: the program needs 64-bit Windows anyway, and a 64-bit Wine runs it without
; the 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION | PROGRAM | README | OUTFILE
  !error "define VERSION, PROGRAM, README and OUTFILE (see tools/package.sh)"
!endif

!define PRODUCT "Quirn Mobile Tool"
!define PUBLISHER "Vandrel"
!define EXE "QuirnMobileTool.exe"
!define PROFILE "QuirnMobileTool.INI"
; Where per-user programs go: %LOCALAPPDATA%\Programs\<maker>\<product>.
!define PROGRAMS "$LOCALAPPDATA\Programs"
!define FOLDER "${PUBLISHER}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuirnMobileTool"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAMS}\${FOLDER}"
; An upgrade goes where the earlier install is, so its profile stays with the program.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2012-2013 ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

; The program is 64-bit: it needs 64-bit Windows. The shortcut and the folders are the user's.
!macro ForThisUser
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext current
!macroend

Function .onInit
  !insertmacro ForThisUser
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "${PROGRAMS}\${FOLDER}"
  ${EndIf}
  ; Earlier versions installed for all users under Program Files, where the program cannot save
  ; its profile; removing that one needs an administrator, so the user is only told of it.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    MessageBox MB_ICONINFORMATION|MB_OK "An earlier ${PRODUCT} installed for all users is in $0. \
        Remove it in Add/Remove Programs: this installation is the user's own." /SD IDOK
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro ForThisUser
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Over an earlier install only the program's own files are replaced: its profile stays.
  File "/oname=${EXE}" "${PROGRAM}"
  File "/oname=readme.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; The program's own "/cleanup" removes what it made outside its folder: the profile beside it,
  ; the profile's VirtualStore copies and the autostart shortcut. It then waits for one character
  ; on standard input, which the pipe from cmd gives it; nsExec waits for the run to end and
  ; shows no console window.
  ${If} ${FileExists} "$INSTDIR\${EXE}"
    DetailPrint "$INSTDIR\${EXE} /cleanup"
    nsExec::Exec '"$SYSDIR\cmd.exe" /d /c echo.| "$INSTDIR\${EXE}" /cleanup'
    Pop $0
    ${If} $0 != 0
      DetailPrint "/cleanup: $0"
    ${EndIf}
  ${EndIf}

  Delete "${SHORTCUT}"
  ; The profile is gone after "/cleanup"; deleting it again covers a program that could not run.
  Delete "$INSTDIR\${PROFILE}"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The maker's folder goes too once it holds nothing else (only the default one: a folder the
  ; user chose may have been there before). Programs\ is shared with other programs and stays.
  RMDir "${PROGRAMS}\${PUBLISHER}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
