; The Japanese installer of Tolvak, built by the build (cmake/Delivery.cmake), which passes:
;   VERSION       the product version (project() in CMakeLists.txt)
;   OUTFILE       the installer to write
;   DELIVERABLES  the generated list: SHIPS_<name> defines and the SHIP_ALL, SHIP32_ALL and
;                 UNSHIP_ALL macros, made from TOLVAK_DELIVERABLES and TOLVAK_32BIT_FILES
;   HELPFILE, SETTINGS, ICON
;
; Command line (administrators): /S silent, /D=<folder> the folder (last, unquoted), /BAR
; registers the Explorer bar. Uninstaller: /S silent, /REMOVESETTINGS also deletes tolvak.ini.

Unicode true
Target amd64-unicode          ; Debian's NSIS has 64-bit stubs; 64-bit Windows is the target
SetCompressor /SOLID lzma
RequestExecutionLevel admin   ; Program Files, the uninstall entry and the bar's COM registration

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${DELIVERABLES}"

!define PRODUCT "Tolvak"
!define PUBLISHER "Tolvak プロジェクト"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvak"
!define MENU_EXT_KEY "Software\Microsoft\Internet Explorer\MenuExt\TLりんくりすと"
!define TOOLBAR_BUTTON_KEY "Software\Microsoft\Internet Explorer\Extensions\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "Tolvak セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; No "start the program" box on the finish page: it would run elevated, as the installer does.

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Tolvak 本体" SecMain
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    !insertmacro SHIP_ALL
    File "${HELPFILE}"
    ; The user's settings survive a reinstallation or an update.
    SetOverwrite off
    File "${SETTINGS}"
    SetOverwrite on
    ; The settings file names programs the tree starts ("Browser", user tools), so it keeps the
    ; folder's rights: letting every user change it would let them choose what an administrator
    ; running the program starts. Users who want their own settings install into a folder of theirs.

    SetOutPath "$INSTDIR\x86"
    !insertmacro SHIP32_ALL
    SetOutPath "$INSTDIR"
    RMDir "$INSTDIR\x86"       ; only when no 32-bit file came along

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tolvak.lnk" "$INSTDIR\Tolvak.exe"
!ifdef SHIPS_TLProp
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tolvak の設定.lnk" "$INSTDIR\TLProp.exe"
!endif
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tolvak ヘルプ.lnk" "$INSTDIR\Tolvak.chm"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tolvak のアンインストール.lnk" "$INSTDIR\${UNINSTALLER}"

    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tolvak.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!ifdef SHIPS_TolvakBar
Section /o "エクスプローラ バーを登録する" SecBar
    ; The COM registration of the 64-bit bar (the library also makes the shell forget its cached
    ; list of bars, as UnRegDLL does below); the 32-bit copy in x86 is registered on 32-bit
    ; Windows by hand (README).
    ClearErrors
    RegDLL "$INSTDIR\TolvakBar.dll"
    ${If} ${Errors}
        DetailPrint "エクスプローラ バーを登録できませんでした。"
    ${EndIf}
SectionEnd
!endif

Function .onInit
!ifdef SHIPS_TolvakBar
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/BAR" $R1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecBar} ${SF_SELECTED}
    ${EndIf}
!endif
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    ; The bar's registration goes whether the installer or the program's menu made it.
    ${If} ${FileExists} "$INSTDIR\TolvakBar.dll"
        UnRegDLL "$INSTDIR\TolvakBar.dll"
    ${EndIf}
    DeleteRegKey HKCU "${MENU_EXT_KEY}"
    ; The browser's toolbar button (made from the program's menu, for the machine or, without
    ; administrator rights, for the user) goes when it starts this copy.
    ReadRegStr $R2 HKLM "${TOOLBAR_BUTTON_KEY}" "Exec"
    ${If} $R2 == "$INSTDIR\Tolvak.exe"
        DeleteRegKey HKLM "${TOOLBAR_BUTTON_KEY}"
    ${EndIf}
    ReadRegStr $R2 HKCU "${TOOLBAR_BUTTON_KEY}" "Exec"
    ${If} $R2 == "$INSTDIR\Tolvak.exe"
        DeleteRegKey HKCU "${TOOLBAR_BUTTON_KEY}"
    ${EndIf}

    !insertmacro UNSHIP_ALL
    Delete "$INSTDIR\Tolvak.chm"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR\x86"

    ; The settings stay unless the user asks (favorites live elsewhere and are never touched).
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        Delete "$INSTDIR\tolvak.ini"
    ${Else}
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "設定ファイル (tolvak.ini) も削除しますか？$\n残しておくと、次にインストールしたときに同じ設定で使えます。" \
            /SD IDNO IDNO keep_settings
        Delete "$INSTDIR\tolvak.ini"
    keep_settings:
    ${EndIf}
    RMDir "$INSTDIR"            ; only when nothing of the user's is left in it

    Delete "$SMPROGRAMS\${PRODUCT}\*.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
