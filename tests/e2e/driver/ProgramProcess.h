// One started copy of the program: its process, its end and its exit code.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The parameter string the shell extension passes: the switch, then every path followed
// by one blank, a path in double quotes only when it holds a blank.
std::wstring ShellExtensionParameters(const std::wstring& modeSwitch, const std::vector<std::wstring>& paths);

class ProgramProcess {
public:
    // Starts program with the parameter string as the shell does: "program" parameters.
    ProgramProcess(const std::wstring& program, const std::wstring& parameters, const std::wstring& currentFolder);
    ~ProgramProcess();   // a program still running is killed, so no test leaves one behind
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const;
    // The exit code, or nothing when the program is still running after the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const;
    void Kill() const;

private:
    PROCESS_INFORMATION info_{};
    HANDLE killOnCloseJob_ = nullptr;
};
