; The Quorvale installer: per user and without administrator rights, into the user's own
; programs folder, with a Start-menu shortcut and an entry in Apps & features. `/S` installs
; and uninstalls silently. Built by `scripts/windows.sh package`, which defines VERSION,
; FILE_VERSION, PROGRAM (the program's folder), UNFILES and UNDIRS (the files and folders the
; uninstaller removes), ICON, LICENSE and OUTFILE.
; Exit status of setup and uninstall: 0 done, 2 Quorvale is running (nothing changed), anything
; else a failure (1), such as Quorvale installed from its MSI package. UPGRADE_CODE names that
; package.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; A file that cannot be written ends the installation (with /S too) instead of being skipped,
; so that a half-replaced folder is never reported as installed.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

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

; While Quorvale runs it holds a lock on the first byte of its lock file,
; %LOCALAPPDATA%\Quorvale\quorvale-<logon session>.lock. Files of a running program cannot be
; replaced, so the user is asked to close it; in silent mode setup ends with status 2 before it
; has touched anything.
!macro LOCK_FILE un
Function ${un}LockFile
    System::Call 'kernel32::GetCurrentProcessId() i.r1'
    System::Call 'kernel32::ProcessIdToSessionId(i r1, *i .r2) i.r0'
    ${If} $0 = 0
        StrCpy $2 0
    ${EndIf}
    StrCpy $LockFile "$LOCALAPPDATA\Quorvale\quorvale-$2.lock"
FunctionEnd
!macroend

!macro CLOSE_QUORVALE un
Function ${un}CloseQuorvale
    ${Do}
        StrCpy $3 0
        ; GENERIC_READ|GENERIC_WRITE, shared for reading and writing, OPEN_EXISTING, not
        ; following a link.
        System::Call 'kernel32::CreateFileW(w "$LockFile", i 0xC0000000, i 3, p 0, i 3, i 0x00200080, p 0) p.r0'
        ${If} $0 != -1
            System::Call '*(l 0, l 0, l 0, l 0) p.r2' ; an OVERLAPPED at offset 0
            ; LOCKFILE_EXCLUSIVE_LOCK|LOCKFILE_FAIL_IMMEDIATELY. Only ERROR_LOCK_VIOLATION
            ; means that a copy holds it: a file system without byte-range locks fails
            ; otherwise, and must not keep setup out for ever.
            System::Call 'kernel32::LockFileEx(p r0, i 3, i 0, i 1, i 0, p r2) i.r1 ?e'
            Pop $3
            ${If} $1 <> 0
                System::Call 'kernel32::UnlockFileEx(p r0, i 0, i 1, i 0, p r2)'
                StrCpy $3 0 ; the last error means nothing after a success
            ${EndIf}
            System::Free $2
            System::Call 'kernel32::CloseHandle(p r0)'
        ${EndIf}
        ${If} $3 <> 33
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

; Ends setup or uninstall as failed: a message unless silent, and status 1 (see .onInstFailed).
!macro FAIL message
    MessageBox MB_OK|MB_ICONSTOP "${message}" /SD IDOK
    Abort
!macroend

Var LockFile
!insertmacro LOCK_FILE ""
!insertmacro LOCK_FILE "un."
!insertmacro CLOSE_QUORVALE ""
!insertmacro CLOSE_QUORVALE "un."

; A folder the user picked that holds other things (the Desktop, C:\) gets the program in a
; Quorvale folder of its own, so that nothing of the user's is overwritten or later removed. A
; folder that already holds Quorvale is used as it is.
Function OwnFolder
    ${DirState} "$INSTDIR" $0
    ${If} $0 = 1
    ${AndIfNot} ${FileExists} "$INSTDIR\quorvale.exe"
        StrCpy $0 "$INSTDIR" "" -1
        ${If} $0 == "\"
            StrCpy $INSTDIR "$INSTDIR" -1
        ${EndIf}
        StrCpy $INSTDIR "$INSTDIR\Quorvale"
    ${EndIf}
FunctionEnd

Section "Quorvale" SecProgram
    SectionIn RO
    Call LockFile
    Call CloseQuorvale
    Call OwnFolder
    ; An earlier installation goes first, by its own uninstaller, so that nothing of it stays.
    ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
    ${AndIf} ${FileExists} "$R0\uninstall.exe"
        ClearErrors
        ExecWait '"$R0\uninstall.exe" /S _?=$R0' $R1
        ${If} ${Errors}
        ${OrIf} $R1 <> 0
            !insertmacro FAIL "The installed Quorvale in $R0 could not be removed (status $R1)."
        ${EndIf}
        Delete "$R0\uninstall.exe"
        RMDir "$R0"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File /r "${PROGRAM}\*.*"
    ClearErrors
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        !insertmacro FAIL "The uninstaller could not be written to $INSTDIR."
    ${EndIf}
    CreateShortcut "$SMPROGRAMS\Quorvale.lnk" "$INSTDIR\quorvale.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quorvale"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvale.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    ; Run in place, so that the caller gets the uninstaller's own status (2: Quorvale is
    ; running), not that of the copy NSIS otherwise starts in the temporary folder.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S /TIDY _?=$INSTDIR'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; What the user chose, for the next install to choose again.
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 0
    ; The program's own files as makensis counted them, whatever else the folder holds.
    SectionGetSize ${SecProgram} $0
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Desktop shortcut" SecDesktop
    CreateShortcut "$DESKTOP\Quorvale.lnk" "$INSTDIR\quorvale.exe"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
SectionEnd

; An install repeats the choices of the one before it, also with /S: the desktop shortcut (an
; install that recorded no choice had one if the shortcut is there) and, by InstallDirRegKey,
; the folder.
Function .onInit
    SetShellVarContext current
    ; The MSI package's installation, in the same folder: refused while it is there.
    System::Call 'msi::MsiEnumRelatedProductsW(w "${UPGRADE_CODE}", i 0, i 0, w .r1) i.r0'
    ${If} $0 = 0
        StrCpy $2 ""
        System::Call 'msi::MsiGetProductInfoW(w r1, w "VersionString", w .r2, *i ${NSIS_MAX_STRLEN})'
        MessageBox MB_OK|MB_ICONSTOP "Quorvale $2 is installed from its MSI package (Quorvale-$2.msi). Uninstall it in Apps & features first, then run this setup again." /SD IDOK
        SetErrorLevel 1
        Quit
    ${EndIf}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        ClearErrors
        ReadRegDWORD $1 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
        ${If} ${Errors}
        ${AndIf} ${FileExists} "$DESKTOP\Quorvale.lnk"
            StrCpy $1 1
        ${EndIf}
        ${If} $1 = 1
            !insertmacro SelectSection ${SecDesktop}
        ${EndIf}
    ${EndIf}
FunctionEnd

; NSIS ends a failed run with status 2, which here means "Quorvale is running".
Function .onInstFailed
    SetErrorLevel 1
FunctionEnd

Function un.onUninstFailed
    SetErrorLevel 1
FunctionEnd

Function un.onInit
    SetShellVarContext current
    ; The copy that finishes a quiet uninstall: it waits (up to 10 s) for the uninstaller that
    ; started it to end, then removes that one's file and the folder.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/FINISH" $1
    ${IfNot} ${Errors}
        ${For} $1 1 100
            Delete "$INSTDIR\uninstall.exe"
            ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
                ${Break}
            ${EndIf}
            Sleep 100
        ${Next}
        RMDir "$INSTDIR"
        Quit
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.LockFile
    Call un.CloseQuorvale
    ClearErrors
    !include "${UNFILES}"
    ${If} ${Errors}
        !insertmacro FAIL "Some files of Quorvale in $INSTDIR could not be removed."
    ${EndIf}
    !include "${UNDIRS}"
    ; Run in place (_?=), this program's own file stays in use until it ends. For the registered
    ; quiet uninstall (/TIDY) a copy in the temporary folder, started the usual NSIS way, removes
    ; it and the folder then. A setup replacing this install removes them itself.
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/TIDY" $1
    ${IfNot} ${Errors}
    ${AndIf} ${FileExists} "$INSTDIR\uninstall.exe"
        SetOutPath "$TEMP"
        Exec '"$INSTDIR\uninstall.exe" /S /FINISH'
    ${EndIf}
    Delete "$SMPROGRAMS\Quorvale.lnk"
    Delete "$DESKTOP\Quorvale.lnk"
    ; The single-copy lock's file, which no copy holds now, only if it is the program's: a plain
    ; file (not a directory, link or junction) and empty. Then its folder, if that is empty.
    System::Call '*(i, l, l, l, i, i) p.r1' ; WIN32_FILE_ATTRIBUTE_DATA
    System::Call 'kernel32::GetFileAttributesExW(w "$LockFile", i 0, p r1) i.r0'
    System::Call '*$1(i .r2, l, l, l, i .r3, i .r4)'
    System::Free $1
    IntOp $2 $2 & 0x410 ; FILE_ATTRIBUTE_DIRECTORY|FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $0 <> 0
    ${AndIf} $2 = 0
    ${AndIf} $3 = 0
    ${AndIf} $4 = 0
        Delete "$LockFile"
    ${EndIf}
    RMDir "$LOCALAPPDATA\Quorvale"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
