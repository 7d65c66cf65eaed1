#include "ShellOpenRecorder.h"

#include "RecordedCommandLines.h"
#include "Utf8.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr const wchar_t* kWebSchemes[] = {L"http", L"https"};
constexpr const wchar_t* kOwnScheme = L"larkspan-recorded";
constexpr const wchar_t* kDocumentExtension = L".larkspanrecorded";
constexpr const wchar_t* kDocumentClass = L"Larkspan.RecordedDocument";
constexpr const wchar_t* kShareServer = L"larkspan-share";
constexpr const wchar_t* kShareName = L"updates";
constexpr const wchar_t* kDocumentName = L"update.larkspanrecorded";

std::wstring OpenCommandKey(const std::wstring& name)
{
    return name + L"\\shell\\open\\command";
}

LSTATUS WriteClassValue(const std::wstring& key, const wchar_t* value, const std::wstring& data)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), value, REG_SZ, data.c_str(),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void SetClassValue(const std::wstring& key, const wchar_t* value, const std::wstring& data)
{
    const LSTATUS status = WriteClassValue(key, value, data);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("shell open recorder: cannot write HKCR\\" + Utf8(key) + " (error " +
                                 std::to_string(status) + ")");
}

std::wstring DefaultClassValue(const std::wstring& key)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                     RRF_NOEXPAND, nullptr, data, &size) != ERROR_SUCCESS)
        return L"";
    return data;
}

// The folder that Wine gives as the share \\server\share: dosdevices\unc\server\share
// in the prefix.
std::wstring ShareServerFolder()
{
    wchar_t prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH))
        throw std::runtime_error("shell open recorder: WINEPREFIX is not set");
    return WindowsPathOfLinuxPath(Utf8(prefix)) + L"\\dosdevices\\unc\\" + kShareServer;
}

void WriteDocument(const std::wstring& path)
{
    std::ofstream(std::filesystem::path(path)) << "update\n";
}

}  // namespace

ShellOpenRecorder::ShellOpenRecorder(const TestFolder& folder)
    : recorder_(folder.MakeFolder(L"opened") + L"\\RecordCommandLine.exe"),
      documentOnDrive_(folder.PathOf(L"opened\\") + kDocumentName),
      shareFolder_(ShareServerFolder())
{
    if (!CopyFileW(WindowsPathOfLinuxPath(TESSALY_RECORDER).c_str(), recorder_.c_str(), FALSE))
        throw std::runtime_error("shell open recorder: cannot copy the recording program");
    WriteDocument(documentOnDrive_);
    std::filesystem::create_directories(shareFolder_ + L"\\" + kShareName);
    WriteDocument(shareFolder_ + L"\\" + kShareName + L"\\" + kDocumentName);

    const std::wstring command = L"\"" + recorder_ + L"\" \"%1\"";
    for (const wchar_t* scheme : kWebSchemes) {
        saved_.push_back({OpenCommandKey(scheme), DefaultClassValue(OpenCommandKey(scheme))});
        SetClassValue(OpenCommandKey(scheme), nullptr, command);
    }
    SetClassValue(kOwnScheme, L"URL Protocol", L"");
    SetClassValue(OpenCommandKey(kOwnScheme), nullptr, command);
    SetClassValue(kDocumentExtension, nullptr, kDocumentClass);
    SetClassValue(OpenCommandKey(kDocumentClass), nullptr, command);
}

ShellOpenRecorder::~ShellOpenRecorder()
{
    for (const SavedHandler& handler : saved_) {
        if (handler.command.empty())
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, handler.key.c_str(), nullptr);
        else
            WriteClassValue(handler.key, nullptr, handler.command);
    }
    for (const wchar_t* key : {kOwnScheme, kDocumentExtension, kDocumentClass})
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    std::error_code ignored;
    std::filesystem::remove_all(shareFolder_, ignored);
    std::filesystem::remove(std::filesystem::path(shareFolder_).parent_path(), ignored);   // when empty
}

std::wstring ShellOpenRecorder::DocumentOnShare() const
{
    return std::wstring(L"\\\\") + kShareServer + L"\\" + kShareName + L"\\" + kDocumentName;
}

std::wstring ShellOpenRecorder::AddressOfOwnScheme() const
{
    return std::wstring(kOwnScheme) + L":update";
}

std::wstring ShellOpenRecorder::LineFor(const std::wstring& opened) const
{
    return L"\"" + recorder_ + L"\" \"" + opened + L"\"";
}

std::vector<std::wstring> ShellOpenRecorder::Lines() const
{
    return RecordedCommandLines(recorder_.substr(0, recorder_.rfind(L'\\')));
}
