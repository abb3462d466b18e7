; The Japanese installer of Tolvak, built by the build (cmake/Delivery.cmake), which passes:
;   VERSION       the product version (project() in CMakeLists.txt)
;   OUTFILE       the installer to write
;   DELIVERABLES  the generated list: SHIPS_<name> defines and the SHIP_ALL, SHIP32_ALL and
;                 UNSHIP_ALL macros, made from TOLVAK_DELIVERABLES and TOLVAK_32BIT_FILES
;   HELPFILE, SETTINGS, ICON
;
; Command line: /S silent, /CURRENTUSER (the default) or /ALLUSERS (administrators), /D=<folder>
; the folder (last, unquoted), /BAR registers the Explorer bar. Uninstaller: /S silent,
; /REMOVESETTINGS also deletes tolvak.ini.

Unicode true
Target amd64-unicode          ; Debian's NSIS has 64-bit stubs; 64-bit Windows is the target
SetCompressor /SOLID lzma

; "Just for me" (the user's own Programs folder, HKCU, the user's Start menu) needs no
; administrator; "for all users" (Program Files, HKLM, the common Start menu) is offered to
; administrators, who get elevated (highest) but start on "just for me" like everyone else.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Tolvak"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_FUNCTION InstallModeChosen
!define MULTIUSER_MUI
!include "MultiUser.nsh"
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
; No InstallDir: the folder follows the mode (InstallModeChosen), unless /D= gave one.
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
; No "start the program" box on the finish page: it would run elevated when the installer is.

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Tolvak 本体" SecMain
    SectionIn RO
    SetOutPath "$INSTDIR"
    !insertmacro SHIP_ALL
    File "${HELPFILE}"
    ; The user's settings survive a reinstallation or an update.
    SetOverwrite off
    File "${SETTINGS}"
    SetOverwrite on
    ; The settings file names programs the tree starts ("Browser", user tools), so it keeps the
    ; folder's rights: letting every user change it would let them choose what an administrator
    ; running the program starts. A per-user installation has settings of its own.

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
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tolvak.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!ifdef SHIPS_TolvakBar
Section /o "エクスプローラ バーを登録する" SecBar
    ; The COM registration of the 64-bit bar (the library also makes the shell forget its cached
    ; list of bars, as UnRegDLL does below); the 32-bit copy in x86 is registered on 32-bit
    ; Windows by hand (README).
    ; Just for me: the user's classes only (DllInstall "user"), even when an administrator
    ; installs, so that no other user of the machine gets a bar from a folder of this user.
    ClearErrors
    ${If} $MultiUser.InstallMode == "CurrentUser"
        ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\TolvakBar.dll"' $0
        ${If} $0 != 0
            SetErrors
        ${EndIf}
    ${Else}
        RegDLL "$INSTDIR\TolvakBar.dll"
    ${EndIf}
    ${If} ${Errors}
        DetailPrint "エクスプローラ バーを登録できませんでした。"
    ${EndIf}
SectionEnd
!endif

Var CommandLineDir

; After every choice of mode (start, switch, page): the folder given by /D= stays; otherwise the
; folder of an earlier installation in that mode, else the mode's default.
Function InstallModeChosen
    ${If} $CommandLineDir != ""
        StrCpy $INSTDIR $CommandLineDir
    ${Else}
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 != ""
            StrCpy $INSTDIR $0
        ${EndIf}
    ${EndIf}
FunctionEnd

; MultiUser.nsh asks with a box that a silent run cannot answer: refused here first.
!macro REFUSE_WITHOUT_ADMIN
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
    ${AndIf} $R1 != "Power"
        MessageBox MB_OK|MB_ICONSTOP "すべてのユーザー用のインストールを変更するには管理者の権限が必要です。" /SD IDOK
        SetErrorLevel 5     ; ERROR_ACCESS_DENIED
        Quit
    ${EndIf}
!macroend

Function .onInit
    StrCpy $CommandLineDir $INSTDIR     ; set by /D= only
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/ALLUSERS" $R1
    ${IfNot} ${Errors}
        !insertmacro REFUSE_WITHOUT_ADMIN
    ${EndIf}
    !insertmacro MULTIUSER_INIT
!ifdef SHIPS_TolvakBar
    ClearErrors
    ${GetOptions} $R0 "/BAR" $R1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecBar} ${SF_SELECTED}
    ${EndIf}
!endif
FunctionEnd

; The uninstaller works in the mode of its installation: it is the machine's when the machine's
; uninstall entry names this folder, otherwise the user's.
Function un.onInit
    !insertmacro MULTIUSER_UNINIT
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 == $INSTDIR
        !insertmacro REFUSE_WITHOUT_ADMIN
        Call un.MultiUser.InstallMode.AllUsers
    ${EndIf}
FunctionEnd

!macro REMOVE_OWN_BUTTON ROOT
    ReadRegStr $R2 ${ROOT} "${TOOLBAR_BUTTON_KEY}" "Exec"
    ${If} $R2 == "$INSTDIR\Tolvak.exe"
        DeleteRegKey ${ROOT} "${TOOLBAR_BUTTON_KEY}"
    ${EndIf}
!macroend

Section "Uninstall"
    ; The bar's registration goes whether the installer or the program's menu made it.
    ${If} ${FileExists} "$INSTDIR\TolvakBar.dll"
        UnRegDLL "$INSTDIR\TolvakBar.dll"
    ${EndIf}
    DeleteRegKey HKCU "${MENU_EXT_KEY}"
    ; The browser's toolbar button (made from the program's menu, for the machine or for the
    ; user) goes when it starts this copy.
    !insertmacro REMOVE_OWN_BUTTON HKLM
    !insertmacro REMOVE_OWN_BUTTON HKCU

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
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
