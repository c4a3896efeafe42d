; The Windows installer of Tarnel and Orvik, made by tools/windows/build.sh:
;   makensis -DVERSION=0.31 -DBUILD=<build folder> -DOUTFILE=<setup exe> installer.nsi
; BUILD holds the icons and files.nsh / unfiles.nsh, the lists of the
; stage's files to install and to delete, made from the same listing so the
; uninstaller removes exactly what was installed and nothing a user added.
;
; Per-user by default (no administrator rights: %LOCALAPPDATA%\Programs and
; HKCU), or for all users (Program Files and HKLM). Command line:
;   /S  silent   /D=DIR  the folder (last, unquoted)
;   /AllUsers or /CurrentUser  the install mode   /DesktopShortcut  add one
; A 64-bit installer: a 32-bit stub would not start where Windows (or
; Wine) runs 64-bit programs only.

Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Tarnel"
!define PUBLISHER "The Tarnel team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnel"
!define PROGID "Tarnel.GameFile"
!define CLASSES "Software\Classes"

Name "Tarnel and Orvik ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Tarnel ${VERSION}"

; The product's version resource, as the programs carry theirs.
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "Tarnel and Orvik"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Tarnel and Orvik ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Tarnel"
; A second install goes where the first went, in its mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_FUNCTION KeepCommandLineDir
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.KeepCommandLineDir
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define MUI_ICON "${BUILD}/icons/tarnel.ico"
!define MUI_UNICON "${BUILD}/icons/tarnel.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarnel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tarnel"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; NoteCreatedKey KEY BIT: sets BIT in $1 when KEY does not exist yet.
!macro NoteCreatedKey KEY BIT
  ClearErrors
  EnumRegKey $0 SHCTX "${KEY}" 0
  ${If} ${Errors}
    IntOp $1 $1 | ${BIT}
  ${EndIf}
!macroend
; RemoveCreatedKey KEY BIT: removes KEY when this install made it (BIT in
; $1) and nothing else is in it now.
!macro RemoveCreatedKey KEY BIT
  IntOp $0 $1 & ${BIT}
  ${If} $0 <> 0
    DeleteRegKey /ifempty SHCTX "${KEY}"
  ${EndIf}
!macroend

; /D= sets $INSTDIR before .onInit; the install mode's defaults would
; overwrite it.
Var CommandLineDir
Function KeepCommandLineDir
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd
Function un.KeepCommandLineDir
FunctionEnd

Section "Tarnel and Orvik" SecMain
  SectionIn RO
  !include "${BUILD}/files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Tarnel"
  CreateShortcut "$SMPROGRAMS\Tarnel\Tarnel.lnk" "$INSTDIR\tarnel.exe" "" "$INSTDIR\tarnel.exe" 0
  CreateShortcut "$SMPROGRAMS\Tarnel\Orvik.lnk" "$INSTDIR\orvik.exe" "" "$INSTDIR\orvik.exe" 0
  CreateShortcut "$SMPROGRAMS\Tarnel\Tarnel Help.lnk" "$INSTDIR\Tarnel Help.html"
  CreateShortcut "$SMPROGRAMS\Tarnel\Uninstall Tarnel.lnk" "$INSTDIR\uninstall.exe" "/$MultiUser.InstallMode"

  ; The keys above ours that this install makes, so that the uninstaller
  ; removes those and leaves the ones that were there before, empty or not.
  ReadRegDWORD $1 SHCTX "${UNINSTALL_KEY}" "CreatedKeys"
  IntOp $1 $1 + 0
  !insertmacro NoteCreatedKey "${CLASSES}\.dat" 1
  !insertmacro NoteCreatedKey "${CLASSES}\.dat\OpenWithProgids" 2
  !insertmacro NoteCreatedKey "${CLASSES}\Applications" 4
  !insertmacro NoteCreatedKey "Software\Microsoft\Windows\CurrentVersion\Uninstall" 8

  ; "Open with Tarnel" on .dat files: a ProgID listed among the extension's
  ; OpenWithProgids, never the extension's default program.
  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "Varno game file"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "FriendlyTypeName" "Varno game file"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\tarnel.exe,0"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\tarnel.exe" "%1"'
  WriteRegNone SHCTX "${CLASSES}\.dat\OpenWithProgids" "${PROGID}"
  WriteRegStr SHCTX "${CLASSES}\Applications\tarnel.exe" "FriendlyAppName" "Tarnel"
  WriteRegStr SHCTX "${CLASSES}\Applications\tarnel.exe\SupportedTypes" ".dat" ""
  WriteRegStr SHCTX "${CLASSES}\Applications\tarnel.exe\shell\open\command" "" '"$INSTDIR\tarnel.exe" "%1"'

  ; The entry under Apps & Features / Programs and Features.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tarnel and Orvik"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "CreatedKeys" $1
  SectionGetSize ${SecMain} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Explorer reads the file types anew.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  CreateShortcut "$DESKTOP\Tarnel.lnk" "$INSTDIR\tarnel.exe" "" "$INSTDIR\tarnel.exe" 0
SectionEnd

; After the sections: .onInit selects one by its index.
Function .onInit
  StrCpy $CommandLineDir $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DesktopShortcut" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "Tarnel, Orvik, their command-line companions, the help and the samples, with Start menu entries and $\"Open with Tarnel$\" for .dat files."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "A shortcut to Tarnel on the desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes what the installer made and nothing else: files a user saved in
; these folders keep them.
Section "Uninstall"
  Delete "$DESKTOP\Tarnel.lnk"
  Delete "$SMPROGRAMS\Tarnel\Tarnel.lnk"
  Delete "$SMPROGRAMS\Tarnel\Orvik.lnk"
  Delete "$SMPROGRAMS\Tarnel\Tarnel Help.lnk"
  Delete "$SMPROGRAMS\Tarnel\Uninstall Tarnel.lnk"
  RMDir "$SMPROGRAMS\Tarnel"

  !include "${BUILD}/unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ReadRegDWORD $1 SHCTX "${UNINSTALL_KEY}" "CreatedKeys"
  IntOp $1 $1 + 0
  DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
  DeleteRegValue SHCTX "${CLASSES}\.dat\OpenWithProgids" "${PROGID}"
  !insertmacro RemoveCreatedKey "${CLASSES}\.dat\OpenWithProgids" 2
  !insertmacro RemoveCreatedKey "${CLASSES}\.dat" 1
  DeleteRegKey SHCTX "${CLASSES}\Applications\tarnel.exe"
  !insertmacro RemoveCreatedKey "${CLASSES}\Applications" 4
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro RemoveCreatedKey "Software\Microsoft\Windows\CurrentVersion\Uninstall" 8
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
