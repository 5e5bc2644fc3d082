; Runs its command line with this account's rights less the administrators' (the group only denies, as
; in a standard user's token) and exits with that program's status: Wine makes every account an
; administrator. Made with makensis (Debian's nsis) by installer_test.sh.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SilentInstall silent
OutFile "${OUT}"
!include FileFunc.nsh
!include LogicLib.nsh

!define TOKEN_ALL_ACCESS 0x000F01FF
!define DISABLE_MAX_PRIVILEGE 1
!define ADMINISTRATORS "S-1-5-32-544"
!define STARTUPINFO_SIZE 104
!define PROCESS_INFORMATION_SIZE 24

Section
    SetErrorLevel 1
    ${GetParameters} $0
    System::Call 'advapi32::OpenProcessToken(p -1, i ${TOKEN_ALL_ACCESS}, *p .r1)'
    System::Call 'advapi32::ConvertStringSidToSidW(w "${ADMINISTRATORS}", *p .r2)'
    System::Call '*(p r2, i 0, i 0) p.r3'
    System::Call 'advapi32::CreateRestrictedToken(p r1, i ${DISABLE_MAX_PRIVILEGE}, i 1, p r3, i 0, p 0, i 0, p 0, \
        *p .r4) i.r5'
    ${If} $5 = 0
        Abort
    ${EndIf}
    System::Alloc ${STARTUPINFO_SIZE}
    Pop $6
    System::Call '*$6(i ${STARTUPINFO_SIZE})'
    System::Alloc ${PROCESS_INFORMATION_SIZE}
    Pop $7
    System::Call 'advapi32::CreateProcessAsUserW(p r4, p 0, w r0, p 0, p 0, i 0, i 0, p 0, p 0, p r6, p r7) i.r5'
    ${If} $5 = 0
        Abort
    ${EndIf}
    System::Call '*$7(p .r8)'
    System::Call 'kernel32::WaitForSingleObject(p r8, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r8, *i .r9)'
    SetErrorLevel $9
SectionEnd
