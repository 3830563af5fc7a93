; The Windows setup program: a per-user install, so that the program directory is writable without
; administrator rights and the queue, logs and statistics kept there persist.
; scripts/package.sh passes VERSION (e.g. 0.33), STAGE (the files to install), SIZE_KB and OUTFILE.
Unicode true
; The x86 stubs are 32-bit programs; the package is 64-bit anyway.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh

!define PRODUCT "Quorvane"
!define PUBLISHER "The Quorvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; Held by a running Quorvane for its whole run.
!define INSTANCE_LOCK "Quorvane Instance"
; SYNCHRONIZE access right: enough to learn that the lock exists.
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Waits until no Quorvane runs: files of a running program must not be replaced or removed. Asks the user to
; exit it; a silent run cannot ask and fails with exit code 3.
!macro waitUntilQuorvaneEnded un
Function ${un}waitUntilQuorvaneEnded
    ${Do}
        System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_LOCK}") p .r0'
        ${If} $0 P= 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        ${If} ${Silent}
            SetErrorLevel 3
            Quit
        ${EndIf}
        ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running. Exit it (the Exit button of its status window), then choose Retry." IDRETRY`
            Quit
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro waitUntilQuorvaneEnded ""
!insertmacro waitUntilQuorvaneEnded "un."

Function .onInit
    Call waitUntilQuorvaneEnded
FunctionEnd

Function un.onInit
    Call un.waitUntilQuorvaneEnded
FunctionEnd

Section "${PRODUCT}"
    ; Asked again: the program may have been started while the directory page was shown.
    Call waitUntilQuorvaneEnded
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    ; WAV needs no decoder, but its type folder must exist; File leaves empty folders out.
    CreateDirectory "$INSTDIR\wav"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Quorvane.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorvane.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the setup installed and what the program writes into its own directory, by name, so that a
; directory chosen by the user keeps whatever else it holds; result logs beside the music are never touched.
Section "Uninstall"
    Call un.waitUntilQuorvaneEnded
    Delete "$INSTDIR\Quorvane.exe"
    Delete "$INSTDIR\aucdtect.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    RMDir /r "$INSTDIR\licences"
    ; The type folders hold the decoders, ours or the user's.
    RMDir /r "$INSTDIR\wav"
    RMDir /r "$INSTDIR\flac"
    RMDir /r "$INSTDIR\wv"
    RMDir /r "$INSTDIR\ape"
    RMDir /r "$INSTDIR\shn"
    ; The program's queue, diagnostic logs, statistics and scratch files.
    Delete "$INSTDIR\Queue.log"
    Delete "$INSTDIR\Queue_*_*.log"
    Delete "$INSTDIR\Recent.log"
    Delete "$INSTDIR\Estimate.log"
    Delete "$INSTDIR\System.log"
    Delete "$INSTDIR\Detect.log"
    Delete "$INSTDIR\KelvrA_*.*"
    Delete "$INSTDIR\*.part"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ; Written by the program at every start.
    Delete "$SENDTO\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\${PRODUCT}"
    ; The machine-wide settings go where this user may delete them.
    DeleteRegKey HKLM "Software\${PRODUCT}"
SectionEnd
