; Pellavo's installer, built by installer/CMakeLists.txt as
;   makensis -DTARGET=x86-unicode|amd64-unicode -DVERSION=1.0 -DSTAGE=<files> -DOUTFILE=<setup.exe>
;            "-DDEFAULT_SIZES=640x480 800x600 ..." pellavo.nsi
; where STAGE holds LICENSE.txt and the folder x64 (and for the 32-bit stub
; x86), each with a pellavo.exe, local\ and the help. 64-bit Windows gets
; the 64-bit program.
;
; It installs for the user alone or for everyone (NSIS's MultiUser page):
; for the user in %LOCALAPPDATA%\Programs\Pellavo, with the uninstall entry
; and the Start-menu shortcut the user's own and nothing that asks for
; elevation; for everyone under Program Files, as administrator. The program
; itself takes its scope from where it stands, so each mode keeps to its folders.
;
; Silent mode (/S) asks nothing. /CurrentUser or /AllUsers chooses the
; mode; without either, the mode of the previous installation, else for
; everyone when the installer runs elevated and for the user when it does
; not. Its language, which becomes the program's language, is the one named
; by /LANG=EN or /LANG=RUS; without it, the one of the previous installation;
; on a first installation, Russian on a Windows whose display language is
; Russian and English everywhere else.

Target ${TARGET}
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellavo"

; Administrators are asked once, at the start; other users install for
; themselves with no prompt.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Pellavo"
; The 64-bit Program Files on 64-bit Windows, the only one on 32-bit Windows.
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"

!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
; The first settings.txt, in the program's own format (a size a line, CR LF);
; one that still reads so at uninstallation was never changed, and goes too.
!searchreplace DEFAULT_SETTINGS "${DEFAULT_SIZES} " " " "$\r$\n"

Name "Pellavo ${VERSION}"
OutFile "${OUTFILE}"
; In place of NSIS's own name and version at the foot of every page.
BrandingText "Pellavo ${VERSION}"

; makensis works in the script's folder.
!define MUI_ICON "../ui/pellavo.ico"
!define MUI_UNICON "../ui/pellavo.ico"
; The finish page's picture, made by tools/make-artwork.sh at the 164x314 MUI draws.
!define MUI_WELCOMEFINISHPAGE_BITMAP "wizard.bmp"
!define MUI_ABORTWARNING
; The language dialog always shows, preselecting the language of the last
; installation, which the uninstaller speaks too.
!define MUI_LANGDLL_ALWAYSSHOW
!define MUI_LANGDLL_REGISTRY_ROOT SHCTX
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Language"

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE UseTheFolderGiven
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseAFolderOfTheOtherMode
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\pellavo.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString VerbsFailed ${LANG_ENGLISH} "Could not add the context-menu items."
LangString VerbsFailed ${LANG_RUSSIAN} "Не удалось добавить пункты контекстного меню."
LangString VerbsNotRemoved ${LANG_ENGLISH} "Could not remove all of Pellavo's context-menu items."
LangString VerbsNotRemoved ${LANG_RUSSIAN} "Не удалось убрать все пункты контекстного меню Pellavo."
LangString AllUsersFolder ${LANG_ENGLISH} "Pellavo works for all users only from a folder under Program Files. Choose one there, or go back and install it just for you."
LangString AllUsersFolder ${LANG_RUSSIAN} "Для всех пользователей Pellavo работает только из папки внутри Program Files. Выберите папку там или вернитесь и установите программу только для себя."
LangString CurrentUserFolder ${LANG_ENGLISH} "A folder under Program Files would make Pellavo work for all users. Choose another folder to install it just for you."
LangString CurrentUserFolder ${LANG_RUSSIAN} "Из папки внутри Program Files Pellavo работал бы для всех пользователей. Чтобы установить его только для себя, выберите другую папку."
LangString OtherForAllUsers ${LANG_ENGLISH} "Pellavo is also installed for all users, in $R0. Remove that installation first?"
LangString OtherForAllUsers ${LANG_RUSSIAN} "Pellavo уже установлен для всех пользователей, в $R0. Сначала удалить ту установку?"
LangString OtherForCurrentUser ${LANG_ENGLISH} "Pellavo is also installed just for you, in $R0. Remove that installation first?"
LangString OtherForCurrentUser ${LANG_RUSSIAN} "Pellavo уже установлен только для вас, в $R0. Сначала удалить ту установку?"
LangString OtherNotRemoved ${LANG_ENGLISH} "The installation in $R0 could not be removed; it stays beside this one."
LangString OtherNotRemoved ${LANG_RUSSIAN} "Не удалось удалить установку в $R0; она останется рядом с этой."
LangString EarlierNotRemoved ${LANG_ENGLISH} "Pellavo is installed in $R0, and that installation could not be removed. Install it there, or remove it first."
LangString EarlierNotRemoved ${LANG_RUSSIAN} "Pellavo уже установлен в $R0, и ту установку не удалось удалить. Установите программу туда или сначала удалите ту установку."

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Pellavo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Pellavo setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Pellavo developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 Pellavo developers"

; The 64-bit program's Add/Remove entry and the language kept there stand in
; the registry's 64-bit view on 64-bit Windows, whichever stub installs it.
!macro UseTheNativeRegistryView prefix
Function ${prefix}UseTheNativeRegistryView
!if ${NSIS_PTR_SIZE} > 4
    SetRegView 64
!else
    ${IfThen} ${RunningX64} ${|} SetRegView 64 ${|}
!endif
FunctionEnd
!macroend
!insertmacro UseTheNativeRegistryView ""
!insertmacro UseTheNativeRegistryView "un."

; The folder given by /D=, which MultiUser's mode page would replace by its mode's default.
Var FolderGiven

Function .onInit
    ; A folder given by /D= is the one to use: MultiUser would set its mode's default.
    StrCpy $FolderGiven $INSTDIR
    Call UseTheNativeRegistryView
    !insertmacro MULTIUSER_INIT
    ${If} $FolderGiven != ""
        StrCpy $INSTDIR $FolderGiven
    ${EndIf}
    !insertmacro MUI_LANGDLL_DISPLAY
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LANG=" $1
    ${If} $1 == "RUS"
        StrCpy $LANGUAGE ${LANG_RUSSIAN}
    ${ElseIf} $1 == "EN"
        StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${EndIf}
FunctionEnd

; The directory page shows the folder given by /D=, whatever mode was chosen.
Function UseTheFolderGiven
    ${If} $FolderGiven != ""
        StrCpy $INSTDIR $FolderGiven
    ${EndIf}
FunctionEnd

; Pushes 1 when $INSTDIR is the folder given or lies below it, else 0.
!macro PushIsUnderFolder folder
    Push $0
    Push $1
    StrLen $0 "${folder}"
    StrCpy $1 "$INSTDIR" $0
    ${If} $1 == "${folder}"
        StrCpy $1 "$INSTDIR" 1 $0
        ${If} $1 == "\"
        ${OrIf} $1 == ""
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Pop $1
    Exch $0
!macroend

; The program works for all users exactly when it stands under Program Files;
; pushes the text that says why $INSTDIR does not suit the mode, or "".
Function FolderOfTheOtherMode
    !insertmacro PushIsUnderFolder "$PROGRAMFILES64"
    !insertmacro PushIsUnderFolder "$PROGRAMFILES32"
    Pop $0
    Pop $1
    IntOp $0 $0 | $1
    ${If} $MultiUser.InstallMode == AllUsers
    ${AndIf} $0 == 0
        Push "$(AllUsersFolder)"
    ${ElseIf} $MultiUser.InstallMode == CurrentUser
    ${AndIf} $0 == 1
        Push "$(CurrentUserFolder)"
    ${Else}
        Push ""
    ${EndIf}
FunctionEnd

Function RefuseAFolderOfTheOtherMode
    Call FolderOfTheOtherMode
    Pop $0
    ${If} $0 != ""
        MessageBox MB_ICONEXCLAMATION|MB_OK "$0"
        Abort
    ${EndIf}
FunctionEnd

; An installation of the other mode would keep its own menu items and entry:
; the user is asked whether it goes first. Silently it stays.
Function OfferToRemoveTheOtherMode
    ; Only an administrator can remove an installation for everyone.
    ${If} $MultiUser.InstallMode == CurrentUser
    ${AndIf} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
        Return
    ${EndIf}
    ${If} $MultiUser.InstallMode == AllUsers
        ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $R1 "/CurrentUser"
        StrCpy $R2 "$(OtherForCurrentUser)"
    ${Else}
        ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $R1 "/AllUsers"
        StrCpy $R2 "$(OtherForAllUsers)"
    ${EndIf}
    ${If} $R0 == ""
    ${OrIfNot} ${FileExists} "$R0\uninstall.exe"
        Return
    ${EndIf}
    MessageBox MB_ICONQUESTION|MB_YESNO "$R2" /SD IDNO IDNO keep
    ; _?= runs the uninstaller in place, so that ExecWait waits for it.
    ClearErrors
    ExecWait '"$R0\uninstall.exe" $R1 /S _?=$R0' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(OtherNotRemoved)"
        Return
    ${EndIf}
    Delete "$R0\uninstall.exe"
    RMDir "$R0"
keep:
FunctionEnd

; An installation of the same mode in another folder (an upgrade given /D
; or another folder on the directory page) is removed by its own
; uninstaller first, so that no second copy keeps its menu items without an
; Add/Remove entry; the user's size list moves to the new folder. When it
; cannot be removed, this installation stops.
Function RemoveTheEarlierInstallationElsewhere
    ReadRegStr $R0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 == ""
    ${OrIf} $R0 == $INSTDIR
    ${OrIfNot} ${FileExists} "$R0\uninstall.exe"
        Return
    ${EndIf}
    ; The user's size list comes along, unless the new folder holds one.
    ${IfNot} ${FileExists} "$INSTDIR\settings.txt"
    ${AndIf} ${FileExists} "$R0\settings.txt"
        CreateDirectory "$INSTDIR"
        CopyFiles /SILENT "$R0\settings.txt" "$INSTDIR\settings.txt"
    ${EndIf}
    ClearErrors
    ExecWait '"$R0\uninstall.exe" /$MultiUser.InstallMode /S _?=$R0' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
        MessageBox MB_ICONSTOP|MB_OK "$(EarlierNotRemoved)" /SD IDOK
        SetErrorLevel 2
        Abort "$(EarlierNotRemoved)"
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\settings.txt"
        Delete "$R0\settings.txt"
    ${EndIf}
    Delete "$R0\uninstall.exe"
    RMDir "$R0"
FunctionEnd

Section
    ${If} ${Silent}
        Call FolderOfTheOtherMode
        Pop $0
        ${If} $0 != ""
            SetErrorLevel 2
            Abort "$0"
        ${EndIf}
    ${EndIf}
    Call OfferToRemoveTheOtherMode
    Call RemoveTheEarlierInstallationElsewhere

    SetOutPath "$INSTDIR\local"
    File "${STAGE}/x64/local/en_translate.txt"
    File "${STAGE}/x64/local/rus_translate.txt"
    SetOutPath "$INSTDIR"
!if ${NSIS_PTR_SIZE} > 4
    File "${STAGE}/x64/pellavo.exe"
!else
    ${If} ${RunningX64}
        File "${STAGE}/x64/pellavo.exe"
    ${Else}
        File "${STAGE}/x86/pellavo.exe"
    ${EndIf}
!endif
    File "${STAGE}/x64/help_en.html"
    File "${STAGE}/x64/help_ru.html"
    File "${STAGE}/LICENSE.txt"
    File "${STAGE}/THIRD-PARTY-NOTICES.txt"

    ; The program speaks the language of this file.
    ${If} $LANGUAGE == ${LANG_RUSSIAN}
        CopyFiles /SILENT "$INSTDIR\local\rus_translate.txt" "$INSTDIR\current_translate.txt"
    ${Else}
        CopyFiles /SILENT "$INSTDIR\local\en_translate.txt" "$INSTDIR\current_translate.txt"
    ${EndIf}

    ; A reinstallation keeps the user's list.
    ${IfNot} ${FileExists} "$INSTDIR\settings.txt"
        FileOpen $0 "$INSTDIR\settings.txt" w
        FileWrite $0 "${DEFAULT_SETTINGS}"
        FileClose $0
    ${EndIf}

    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; Started with the install folder as its working folder (the output path).
    ; The user's Start menu for the user alone, everyone's for everyone.
    CreateShortcut "$SMPROGRAMS\Pellavo.lnk" "$INSTDIR\pellavo.exe"
    ${If} $MultiUser.InstallMode == AllUsers
        Call MarkShortcutRunAsAdministrator
    ${EndIf}

    ; SHCTX: HKLM for everyone, HKCU for the user, as MultiUser set it.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Pellavo"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Pellavo developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pellavo.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ; The mode, which earlier uninstallers needed; this one knows it by its folder.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    ; Silent installations end without the GUI, where MUI would save it.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Language" "$LANGUAGE"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Last, once everything the verbs name is in place.
    ; It exits with 1 when a setting or verb could not be written, with 2 when
    ; settings.txt is there but cannot be read (and then changes nothing).
    ClearErrors
    ExecWait '"$INSTDIR\pellavo.exe" Install' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(VerbsFailed)" /SD IDOK
        SetErrorLevel 2
    ${EndIf}
SectionEnd

; For everyone, the list and the verbs are the machine's, so the dialog that
; saves them runs as administrator: the shortcut's SLDF_RUNAS_USER flag
; (0x2000 of the LinkFlags at offset 0x14), for which CreateShortcut has no option.
Function MarkShortcutRunAsAdministrator
    ClearErrors
    FileOpen $0 "$SMPROGRAMS\Pellavo.lnk" a
    ${IfThen} ${Errors} ${|} Return ${|}
    FileSeek $0 0x15
    FileReadByte $0 $1
    IntOp $1 $1 | 0x20
    FileSeek $0 0x15
    FileWriteByte $0 $1
    FileClose $0
FunctionEnd

Function un.onInit
    ; The folder the uninstaller stands in, which MultiUser replaces by the
    ; one its mode's Add/Remove entry names.
    StrCpy $R9 $INSTDIR
    Call un.UseTheNativeRegistryView
    !insertmacro MULTIUSER_UNINIT
    StrCpy $INSTDIR $R9
    ; The installation this uninstaller stands in, whatever it is told: the
    ; mode whose Add/Remove entry names its folder, compared in short form,
    ; which one spelling of a folder has whatever its letters' case or a
    ; trailing backslash.
    GetFullPathName /SHORT $2 "$INSTDIR"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    GetFullPathName /SHORT $0 "$0"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    GetFullPathName /SHORT $1 "$1"
    ; Where neither names it, or both the same folder, the mode as told.
    ${If} $2 != ""
    ${AndIf} $0 != $1
        ${If} $0 == $2
            Call un.MultiUser.InstallMode.AllUsers
        ${ElseIf} $1 == $2
            Call un.MultiUser.InstallMode.CurrentUser
        ${EndIf}
    ${EndIf}
    StrCpy $INSTDIR $R9
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Reads the whole of settings.txt (FileRead gives a line at a time) and
; deletes it when it is still the first list.
Function un.DeleteUnchangedSettings
    ClearErrors
    FileOpen $0 "$INSTDIR\settings.txt" r
    ${IfThen} ${Errors} ${|} Return ${|}
    StrCpy $1 ""
    StrLen $3 "${DEFAULT_SETTINGS}"
    ${Do}
        FileRead $0 $2
        ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
        StrCpy $1 "$1$2"
        StrLen $4 $1
    ${LoopUntil} $4 > $3
    FileClose $0
    ${If} $1 S== "${DEFAULT_SETTINGS}"
        Delete "$INSTDIR\settings.txt"
    ${EndIf}
FunctionEnd

Section Uninstall
    ; First, while the program that removes its verbs is still there.
    ClearErrors
    ExecWait '"$INSTDIR\pellavo.exe" Uninstall' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(VerbsNotRemoved)" /SD IDOK
        SetErrorLevel 2
    ${EndIf}

    Delete "$INSTDIR\pellavo.exe"
    Delete "$INSTDIR\help_en.html"
    Delete "$INSTDIR\help_ru.html"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\current_translate.txt"
    Delete "$INSTDIR\local\en_translate.txt"
    Delete "$INSTDIR\local\rus_translate.txt"
    RMDir "$INSTDIR\local"
    ; What an interrupted save of the size list leaves.
    Delete "$INSTDIR\settings.txt.new"
    Call un.DeleteUnchangedSettings
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Pellavo.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
