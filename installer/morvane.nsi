; The Morvane setup program (NSIS 3). installer/make-setup builds it from the two designers:
;   makensis -DVERSION=1.0.0 -DDESIGNER64=... -DDESIGNER32=... -DOUTFILE=... morvane.nsi
;
; For the current user (the default, no administrator rights): the designer as Morvane.scr in
; the user's programs folder, which the display settings list once it is the user's screen
; saver, so the setup offers to make it so. For all users (/ALLUSERS, or chosen on the first
; page): Morvane.scr in the system folder, where the display settings' list looks, and the
; uninstaller in the programs folder. Either way a Start menu entry opens the designer's dialog
; and the uninstaller is registered with the system's list of installed programs. The 64-bit
; designer goes onto 64-bit systems, the 32-bit one elsewhere.
;
; Command line: /S silent; /ALLUSERS for all users (needs administrator rights); /SETSAVER makes
; Morvane the current user's screen saver in a silent install; /D=FOLDER the per-user folder.
;
; The setup users get is a 32-bit program, so that it runs on every system. -DTEST_AMD64 makes
; the same setup as a 64-bit program for the tests, which run only 64-bit programs under Wine.

!ifdef TEST_AMD64
  Target amd64-unicode
  ; x64.nsh's tests are constants in a 64-bit program, which leaves labels unused.
  !pragma warning disable 6012
!else
  Unicode true
!endif
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "nsDialogs.nsh"

!ifndef VERSION
  !error "VERSION, DESIGNER64, DESIGNER32 and OUTFILE must be defined"
!endif
!ifndef DESIGNER64
  !error "VERSION, DESIGNER64, DESIGNER32 and OUTFILE must be defined"
!endif
!ifndef DESIGNER32
  !error "VERSION, DESIGNER64, DESIGNER32 and OUTFILE must be defined"
!endif
!ifndef OUTFILE
  !error "VERSION, DESIGNER64, DESIGNER32 and OUTFILE must be defined"
!endif

!define PRODUCT "Morvane"
!define SAVER "Morvane.scr"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

Var AllUsers        ; 1: for all users
Var ScopeUser       ; the page's radio buttons
Var ScopeAll
Var SaverFolder     ; where Morvane.scr goes

!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenDesigner)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenDesigner
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(MakeSaver)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeScreenSaver
Page custom ScopePage ScopePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderForAllUsers
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString ScopeTitle ${LANG_ENGLISH} "Who may use Morvane?"
LangString ScopeTitle ${LANG_JAPANESE} "Morvane を使うユーザー"
LangString ScopeText ${LANG_ENGLISH} "Morvane can be installed for you alone, without administrator rights, or for everyone who uses this computer."
LangString ScopeText ${LANG_JAPANESE} "Morvane を自分だけのために（管理者の権限なしで）、またはこのコンピューターを使うすべてのユーザーのためにインストールできます。"
LangString ScopeUser ${LANG_ENGLISH} "Just for me"
LangString ScopeUser ${LANG_JAPANESE} "自分だけ"
LangString ScopeAll ${LANG_ENGLISH} "For all users (administrator rights needed)"
LangString ScopeAll ${LANG_JAPANESE} "すべてのユーザー（管理者の権限が必要）"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing for all users needs administrator rights."
LangString NeedsAdmin ${LANG_JAPANESE} "すべてのユーザーのためのインストールには管理者の権限が必要です。"
LangString UninstallNeedsAdmin ${LANG_ENGLISH} "Morvane was installed for all users: removing it needs administrator rights."
LangString UninstallNeedsAdmin ${LANG_JAPANESE} "Morvane はすべてのユーザーのためにインストールされています。削除には管理者の権限が必要です。"
LangString OpenDesigner ${LANG_ENGLISH} "Open Morvane now"
LangString OpenDesigner ${LANG_JAPANESE} "Morvane を開く"
LangString MakeSaver ${LANG_ENGLISH} "Make Morvane my screen saver"
LangString MakeSaver ${LANG_JAPANESE} "Morvane をスクリーンセイバーにする"
LangString Shortcut ${LANG_ENGLISH} "Compose a screen saver and build it"
LangString Shortcut ${LANG_JAPANESE} "スクリーンセイバーを作成します"

; The version resource of the setup program itself; the project names no copyright holder.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup"

; Everything that differs between the two kinds of install: the registry root, the Start menu,
; the folders and, on 64-bit systems, the view of the system folder and the registry.
!macro UseScope un
  Function ${un}UseScope
    ${If} $AllUsers == 1
      SetShellVarContext all
      ${If} ${RunningX64}
        ${DisableX64FSRedirection}
        SetRegView 64
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
      ${Else}
        StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
      ${EndIf}
      StrCpy $SaverFolder "$SYSDIR"
    ${Else}
      SetShellVarContext current
      StrCpy $SaverFolder "$INSTDIR"
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro UseScope ""
!insertmacro UseScope "un."

!macro IsAdmin result
  UserInfo::GetAccountType
  Pop ${result}
!macroend

Function .onInit
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    !insertmacro IsAdmin $R2
    ${If} $R2 != "Admin"
      MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ScopePage
  ${If} $AllUsers == 1
    Abort  ; asked for on the command line
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "$(ScopeTitle)" ""
  nsDialogs::Create 1018
  Pop $R0
  ${NSD_CreateLabel} 0 0 100% 24u "$(ScopeText)"
  Pop $R0
  ${NSD_CreateRadioButton} 10u 34u 100% 12u "$(ScopeUser)"
  Pop $ScopeUser
  ${NSD_CreateRadioButton} 10u 50u 100% 12u "$(ScopeAll)"
  Pop $ScopeAll
  ${NSD_Check} $ScopeUser
  nsDialogs::Show
FunctionEnd

; All users without the rights for it: this setup starts again with them, asked for by the
; system, and ends.
Function ScopePageLeave
  ${NSD_GetState} $ScopeAll $R0
  ${If} $R0 == ${BST_CHECKED}
    !insertmacro IsAdmin $R1
    ${If} $R1 != "Admin"
      ExecShell "runas" "$EXEPATH" "/ALLUSERS"
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
FunctionEnd

Function SkipFolderForAllUsers
  ${If} $AllUsers == 1
    Abort
  ${EndIf}
FunctionEnd

Section
  Call UseScope
  SetOutPath "$INSTDIR"
  SetOverwrite on
  ${If} ${RunningX64}
    File "/oname=$SaverFolder\${SAVER}" "${DESIGNER64}"
  ${Else}
    File "/oname=$SaverFolder\${SAVER}" "${DESIGNER32}"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$SaverFolder\${SAVER}" "/c" "$SaverFolder\${SAVER}" 0 SW_SHOWNORMAL "" "$(Shortcut)"

  ; One key whatever was installed before, so a setup run again, or over an older version, or
  ; after the files were removed by hand, leaves one entry in the list.
  ${If} $AllUsers == 1
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverFolder\${SAVER},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /ALLUSERS'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /ALLUSERS /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${Else}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$SaverFolder\${SAVER},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${EndIf}
  ; The size the list shows, in KiB: the designer and the uninstaller.
  ${GetSize} "$SaverFolder" "/M=${SAVER} /S=0K /G=0" $R0 $R1 $R2
  ${GetSize} "$INSTDIR" "/M=uninstall.exe /S=0K /G=0" $R3 $R1 $R2
  IntOp $R0 $R0 + $R3
  ${If} $AllUsers == 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R0
  ${Else}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $R0
  ${EndIf}

  ; Scene files open in the designer: its command line names the file after /c.
  WriteRegStr SHCTX "Software\Classes\.morvane" "" "Morvane.Scene"
  WriteRegStr SHCTX "Software\Classes\Morvane.Scene" "" "Morvane scene"
  WriteRegStr SHCTX "Software\Classes\Morvane.Scene\DefaultIcon" "" "$SaverFolder\${SAVER},0"
  WriteRegStr SHCTX "Software\Classes\Morvane.Scene\shell\open\command" "" '"$SaverFolder\${SAVER}" /c "%1"'

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SETSAVER" $R1
  ${IfNot} ${Errors}
    Call MakeScreenSaver
  ${EndIf}
SectionEnd

; The display settings run the saver named by SCRNSAVE.EXE; a name without spaces is safest
; there, so the short form is written when the system has one.
Function MakeScreenSaver
  GetFullPathName /SHORT $R0 "$SaverFolder\${SAVER}"
  ${If} $R0 == ""
    StrCpy $R0 "$SaverFolder\${SAVER}"
  ${EndIf}
  WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" "$R0"
  WriteRegStr HKCU "Control Panel\Desktop" "ScreenSaveActive" "1"
FunctionEnd

Function OpenDesigner
  Exec '"$SaverFolder\${SAVER}" /c'
FunctionEnd

Function un.onInit
  ; The kind of install is the one whose key names this uninstaller's folder.
  StrCpy $AllUsers 1
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == 1
    !insertmacro IsAdmin $R1
    ${If} $R1 != "Admin"
      MessageBox MB_ICONSTOP "$(UninstallNeedsAdmin)" /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Exactly what the setup wrote. MORVANE.INI (in the Windows folder) and the savers the user made
; (which Create writes beside the designer when given a bare name) stay: the folder goes only
; when it is empty.
Section "Uninstall"
  StrCpy $R0 $INSTDIR
  Call un.UseScope
  StrCpy $INSTDIR $R0
  ${If} $AllUsers == 0
    StrCpy $SaverFolder $INSTDIR
  ${EndIf}
  ReadRegStr $R1 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $R2 "$SaverFolder\${SAVER}"
  ${If} $R1 == $R2
  ${OrIf} $R1 == "$SaverFolder\${SAVER}"
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$SaverFolder\${SAVER}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "Software\Classes\Morvane.Scene"
  DeleteRegKey SHCTX "Software\Classes\.morvane"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
