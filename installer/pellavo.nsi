; Pellavo's installer, built by installer/CMakeLists.txt as
;   makensis -DTARGET=x86-unicode|amd64-unicode -DVERSION=1.0 -DSTAGE=<files> -DOUTFILE=<setup.exe>
;            "-DDEFAULT_SIZES=640x480 800x600 ..." pellavo.nsi
; where STAGE holds the files a user gets (pellavo.exe, local\, help, LICENSE.txt).
;
; Silent mode (/S) asks nothing. Its language, which becomes the program's
; language, is the one named by /LANG=EN or /LANG=RUS; without it, the one of
; the previous installation; on a first installation, Russian on a Windows
; whose display language is Russian and English everywhere else.

Target ${TARGET}
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellavo"
; The first settings.txt, in the program's own format (a size a line, CR LF);
; one that still reads so at uninstallation was never changed, and goes too.
!searchreplace DEFAULT_SETTINGS "${DEFAULT_SIZES} " " " "$\r$\n"

Name "Pellavo ${VERSION}"
OutFile "${OUTFILE}"
; In place of NSIS's own name and version at the foot of every page.
BrandingText "Pellavo ${VERSION}"
; The verbs are written under HKEY_CLASSES_ROOT for every user.
RequestExecutionLevel admin
!if ${NSIS_PTR_SIZE} > 4
InstallDir "$PROGRAMFILES64\Pellavo"
!else
InstallDir "$PROGRAMFILES\Pellavo"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation

; makensis works in the script's folder.
!define MUI_ICON "../ui/pellavo.ico"
!define MUI_UNICON "../ui/pellavo.ico"
; The finish page's picture, made by tools/make-artwork.sh at the 164x314 MUI draws.
!define MUI_WELCOMEFINISHPAGE_BITMAP "wizard.bmp"
!define MUI_ABORTWARNING
; The language dialog always shows, preselecting the language of the last
; installation, which the uninstaller speaks too.
!define MUI_LANGDLL_ALWAYSSHOW
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Language"

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
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

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Pellavo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Pellavo setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Pellavo developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 Pellavo developers"

Function .onInit
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

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR\local"
    File "${STAGE}/local/en_translate.txt"
    File "${STAGE}/local/rus_translate.txt"
    SetOutPath "$INSTDIR"
    File "${STAGE}/pellavo.exe"
    File "${STAGE}/help_en.html"
    File "${STAGE}/help_ru.html"
    File "${STAGE}/LICENSE.txt"

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
    CreateShortcut "$SMPROGRAMS\Pellavo.lnk" "$INSTDIR\pellavo.exe"
    Call MarkShortcutRunAsAdministrator

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pellavo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pellavo developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pellavo.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ; Silent installations end without the GUI, where MUI would save it.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Language" "$LANGUAGE"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

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

; The list and the verbs are the machine's, so the dialog that saves them
; runs as administrator: the shortcut's SLDF_RUNAS_USER flag (0x2000 of
; the LinkFlags at offset 0x14), for which CreateShortcut has no option.
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
    SetShellVarContext all
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
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
