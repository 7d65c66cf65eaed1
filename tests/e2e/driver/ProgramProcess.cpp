#include "ProgramProcess.h"

#include <stdexcept>

namespace {

std::wstring ShellQuoted(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

// Also ends the program when the driver itself dies before its destructors run.
HANDLE MakeKillOnCloseJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job)
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

}  // namespace

std::wstring ShellExtensionParameters(const std::wstring& modeSwitch, const std::vector<std::wstring>& paths)
{
    std::wstring parameters = modeSwitch + L" ";
    for (const std::wstring& path : paths)
        parameters += ShellQuoted(path) + L" ";
    return parameters;
}

ProgramProcess::ProgramProcess(const std::wstring& program, const std::wstring& parameters,
                               const std::wstring& currentFolder)
    : killOnCloseJob_(MakeKillOnCloseJob())
{
    std::wstring commandLine = L"\"" + program + L"\" " + parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, currentFolder.c_str(), &startup, &info_))
        throw std::runtime_error("cannot start the program (error " + std::to_string(GetLastError()) + ")");
    if (killOnCloseJob_)
        AssignProcessToJobObject(killOnCloseJob_, info_.hProcess);
    ResumeThread(info_.hThread);
}

ProgramProcess::~ProgramProcess()
{
    Kill();
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    if (killOnCloseJob_)
        CloseHandle(killOnCloseJob_);
}

bool ProgramProcess::Running() const
{
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramProcess::WaitForExit(std::chrono::milliseconds timeout) const
{
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void ProgramProcess::Kill() const
{
    if (Running())
        TerminateProcess(info_.hProcess, 0xDEAD);
}
