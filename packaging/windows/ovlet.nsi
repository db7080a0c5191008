; The Windows installer: per user, no administrator rights; with /ALLUSERS,
; run as an administrator, for every user of the machine. It installs the
; programs built (ovlet.exe always; ovmake.exe and ovview.exe when they are
; there), Start-menu shortcuts for the desktop programs, the .ovt file type
; (under HKCU\Software\Classes, or HKLM's for every user) when the viewer is
; there, and an uninstaller that removes exactly what was added. Made by
; scripts/build-windows:
;   makensis -DVERSION=x.y.z -DBIN=<folder of the programs> -DOUT=<installer> ovlet.nsi
; A 64-bit installer for 64-bit programs: it runs where they run.
Target amd64-unicode
!include FileFunc.nsh
!include LogicLib.nsh
!ifndef VERSION
  !define VERSION "0.0.0"
!endif
!define PRODUCT "Ovlet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ovlet"

Name "${PRODUCT}"
OutFile "${OUT}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Ovlet"
InstallDirRegKey HKCU "Software\Ovlet" "InstallDir"
SetCompressor /SOLID lzma
!ifdef ICON
  Icon "${ICON}"
  UninstallIcon "${ICON}"
!endif

; The installer speaks the user's language where it is one of the programs'.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\French.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Spanish.nlf"
LangString UninstallLink ${LANG_ENGLISH} "Uninstall Ovlet"
LangString UninstallLink ${LANG_GERMAN} "Ovlet deinstallieren"
LangString UninstallLink ${LANG_FRENCH} "Désinstaller Ovlet"
LangString UninstallLink ${LANG_SPANISH} "Desinstalar Ovlet"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing Ovlet for all users needs administrator rights."
LangString NeedsAdmin ${LANG_GERMAN} "Ovlet für alle Benutzer zu installieren erfordert Administratorrechte."
LangString NeedsAdmin ${LANG_FRENCH} "L'installation d'Ovlet pour tous les utilisateurs nécessite les droits d'administrateur."
LangString NeedsAdmin ${LANG_SPANISH} "Instalar Ovlet para todos los usuarios requiere derechos de administrador."
LangString CardType ${LANG_ENGLISH} "Ovlet business card"
LangString CardType ${LANG_GERMAN} "Ovlet-Visitenkarte"
LangString CardType ${LANG_FRENCH} "Carte de visite Ovlet"
LangString CardType ${LANG_SPANISH} "Tarjeta de visita Ovlet"
ShowInstDetails show

; For every user (/ALLUSERS): the machine's program folder, Start menu and
; classes (SHCTX is HKLM then, HKCU otherwise). A folder given with /D stays.
Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    SetShellVarContext all
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Ovlet"
      StrCpy $INSTDIR "$PROGRAMFILES64\Ovlet"
    ${EndIf}
  ${EndIf}
FunctionEnd

; The uninstaller of an install for every user is the one in the folder the
; machine's key names.
Function un.onInit
  SetShellVarContext current
  ReadRegStr $0 HKLM "Software\Ovlet" "InstallDir"
  ${If} $0 == $INSTDIR
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Ovlet"
  SetOutPath "$INSTDIR"
  File "${BIN}\ovlet.exe"
!if /FileExists "${BIN}\ovmake.exe"
  File "${BIN}\ovmake.exe"
  ; The maker's manual, in each language.
  SetOutPath "$INSTDIR\data"
  File "${BIN}\data\ovmake-help*.html"
  SetOutPath "$INSTDIR"
!endif
!if /FileExists "${BIN}\ovview.exe"
  File "${BIN}\ovview.exe"
!endif
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Ovlet"
!if /FileExists "${BIN}\ovmake.exe"
  CreateShortcut "$SMPROGRAMS\Ovlet\Ovlet Maker.lnk" "$INSTDIR\ovmake.exe"
!endif
!if /FileExists "${BIN}\ovview.exe"
  CreateShortcut "$SMPROGRAMS\Ovlet\Ovlet Viewer.lnk" "$INSTDIR\ovview.exe"
  ; The card files open in the viewer.
  WriteRegStr SHCTX "Software\Classes\.ovt" "" "Ovlet.Card"
  WriteRegStr SHCTX "Software\Classes\Ovlet.Card" "" "$(CardType)"
  WriteRegStr SHCTX "Software\Classes\Ovlet.Card\DefaultIcon" "" "$INSTDIR\ovview.exe,0"
  WriteRegStr SHCTX "Software\Classes\Ovlet.Card\shell\open\command" "" '"$INSTDIR\ovview.exe" "%1"'
!endif
!if /FileExists "${BIN}\ovmake.exe"
  ; "Edit" opens a card in the maker.
  WriteRegStr SHCTX "Software\Classes\Ovlet.Card\shell\edit\command" "" '"$INSTDIR\ovmake.exe" "%1"'
!endif
  CreateShortcut "$SMPROGRAMS\Ovlet\$(UninstallLink).lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "Software\Ovlet" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Ovlet"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\ovlet.exe"
  Delete "$INSTDIR\ovmake.exe"
  Delete "$INSTDIR\ovview.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\data\ovmake-help.html"
  Delete "$INSTDIR\data\ovmake-help_de.html"
  Delete "$INSTDIR\data\ovmake-help_fr.html"
  Delete "$INSTDIR\data\ovmake-help_es.html"
  RMDir "$INSTDIR\data"
  ; Only when empty: what the user put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Ovlet\Ovlet Maker.lnk"
  Delete "$SMPROGRAMS\Ovlet\Ovlet Viewer.lnk"
  ; In whichever language it was installed.
  Delete "$SMPROGRAMS\Ovlet\Uninstall Ovlet.lnk"
  Delete "$SMPROGRAMS\Ovlet\Ovlet deinstallieren.lnk"
  Delete "$SMPROGRAMS\Ovlet\Désinstaller Ovlet.lnk"
  Delete "$SMPROGRAMS\Ovlet\Desinstalar Ovlet.lnk"
  RMDir "$SMPROGRAMS\Ovlet"
  ; The file type only while it is still ours.
  ReadRegStr $0 SHCTX "Software\Classes\.ovt" ""
  StrCmp $0 "Ovlet.Card" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.ovt"
  DeleteRegKey SHCTX "Software\Classes\Ovlet.Card"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\Ovlet"
SectionEnd
