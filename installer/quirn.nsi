; The Windows installer of Quirn Mobile Tool, built by tools/package.sh:
;   makensis -DVERSION=X.Y.Z -DPROGRAM=QuirnMobileTool.exe -DREADME=readme.txt
;            -DOUTFILE=QuirnMobileToolSetup-X.Y.Z.exe installer/quirn.nsi
; The version comes from the build (res/version.h, checked against the CMake project), never
; from here. Both the installer and its uninstaller take /S for a silent run.

; A 64-bit installer: the program needs 64-bit Windows anyway, a 64-bit Wine runs it without the
; 32-bit half, and it sees the 64-bit Program Files and System32 with no redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin  ; a per-machine install under Program Files

!ifndef VERSION | PROGRAM | README | OUTFILE
  !error "define VERSION, PROGRAM, README and OUTFILE (see tools/package.sh)"
!endif

!define PRODUCT "Quirn Mobile Tool"
!define PUBLISHER "Vandrel"
!define EXE "QuirnMobileTool.exe"
; The program's folder is where it expects to live: its VirtualStore paths name it.
!define FOLDER "${PUBLISHER}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuirnMobileTool"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${FOLDER}"
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

; The program is 64-bit: it needs 64-bit Windows, and its files and registry entries belong in
; the 64-bit views.
!macro SixtyFourBitOnly
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro SixtyFourBitOnly
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES64\${FOLDER}"
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro SixtyFourBitOnly
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  File "/oname=readme.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
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
  Delete "$INSTDIR\QuirnMobileTool.INI"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The maker's folder goes too once it holds nothing else (only the default one: a folder the
  ; user chose may have been there before).
  RMDir "$PROGRAMFILES64\${PUBLISHER}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
