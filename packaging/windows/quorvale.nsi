; The Quorvale installer: per user and without administrator rights, into the user's own
; programs folder, with a Start-menu shortcut and an entry in Apps & features. `/S` installs
; and uninstalls silently. Built by `scripts/windows.sh package`, which defines VERSION,
; FILE_VERSION, PROGRAM (the program's folder), UNFILES (what the uninstaller removes),
; ICON, LICENSE and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvale"
!define PUBLISHER "Ansgrove"

Name "Quorvale"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorvale"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quorvale ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "Quorvale"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quorvale ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright © 2026 - ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvale.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; While Quorvale runs it holds a lock on the first byte of quorvale.lock in the user's temporary
; folder. Files of a running program cannot be replaced, so the user is asked to close it; in
; silent mode setup ends with status 2 before it has touched anything.
!macro CLOSE_QUORVALE un
Function ${un}CloseQuorvale
    ${Do}
        StrCpy $1 0
        ; GENERIC_READ|GENERIC_WRITE, shared for reading and writing, OPEN_EXISTING, not
        ; following a link.
        System::Call 'kernel32::CreateFileW(w "$TEMP\quorvale.lock", i 0xC0000000, i 3, p 0, i 3, i 0x00200080, p 0) p.r0'
        ${If} $0 != -1
            System::Call '*(l 0, l 0, l 0, l 0) p.r2' ; an OVERLAPPED at offset 0
            ; LOCKFILE_EXCLUSIVE_LOCK|LOCKFILE_FAIL_IMMEDIATELY
            System::Call 'kernel32::LockFileEx(p r0, i 3, i 0, i 1, i 0, p r2) i.r1'
            ${If} $1 <> 0
                System::Call 'kernel32::UnlockFileEx(p r0, i 0, i 1, i 0, p r2)'
            ${EndIf}
            System::Free $2
            System::Call 'kernel32::CloseHandle(p r0)'
            IntOp $1 1 - $1
        ${EndIf}
        ${If} $1 = 0
            Return
        ${EndIf}
        IfSilent 0 +3
            SetErrorLevel 2
            Quit
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Quorvale is running. Close it, then choose Retry." IDRETRY +3
        SetErrorLevel 2
        Quit
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_QUORVALE ""
!insertmacro CLOSE_QUORVALE "un."

Function .onInit
    SetShellVarContext current
FunctionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Quorvale" SecProgram
    SectionIn RO
    Call CloseQuorvale
    ; An earlier installation goes first, by its own uninstaller, so that nothing of it stays.
    ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
    ${AndIf} ${FileExists} "$R0\uninstall.exe"
        ExecWait '"$R0\uninstall.exe" /S _?=$R0'
        Delete "$R0\uninstall.exe"
        RMDir "$R0"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File /r "${PROGRAM}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Quorvale.lnk" "$INSTDIR\quorvale.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quorvale"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvale.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Desktop shortcut" SecDesktop
    CreateShortcut "$DESKTOP\Quorvale.lnk" "$INSTDIR\quorvale.exe"
SectionEnd

Section "Uninstall"
    Call un.CloseQuorvale
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Quorvale.lnk"
    Delete "$DESKTOP\Quorvale.lnk"
    ; The single-copy lock's file, which no copy holds now.
    Delete "$TEMP\quorvale.lock"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
