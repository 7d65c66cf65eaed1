#include "TestFolder.h"

#include "Utf8.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace {

void Require(bool ok, const std::wstring& what)
{
    if (!ok)
        throw std::runtime_error("test folder: cannot " + Utf8(what) +
                                 " (error " + std::to_string(GetLastError()) + ")");
}

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { CloseHandle(handle_); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE CreateNewFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(file != INVALID_HANDLE_VALUE, L"create " + path);
    return file;
}

}  // namespace

std::wstring WindowsPathOfLinuxPath(const std::string& linuxPath)
{
    std::wstring path = L"Z:" + FromUtf8(linuxPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

TestFolder::TestFolder(const std::wstring& name)
    : path_(WindowsPathOfLinuxPath(TESSALY_E2E_WORK) + L"\\" + name)
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder()
{
    for (const std::wstring& file : sparseFiles_)
        DeleteFileW(file.c_str());
}

std::wstring TestFolder::PathOf(const std::wstring& name) const
{
    return path_ + L"\\" + name;
}

std::wstring TestFolder::CopyProgram(const std::wstring& fileName) const
{
    const std::wstring copy = PathOf(fileName);
    Require(CopyFileW(WindowsPathOfLinuxPath(TESSALY_PROGRAM).c_str(), copy.c_str(), FALSE),
            L"copy the program to " + copy);
    Require(CopyFileW(WindowsPathOfLinuxPath(TESSALY_WEBVIEW2_DOUBLE).c_str(), PathOf(L"WebView2Loader.dll").c_str(),
                      FALSE),
            L"copy the WebView2 loader double to " + path_);
    return copy;
}

std::wstring TestFolder::MakeFile(const std::wstring& name, const std::string& bytes) const
{
    const std::wstring path = PathOf(name);
    const OwnedHandle file(CreateNewFile(path));
    DWORD written = 0;
    Require(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size(),
            L"write " + path);
    return path;
}

std::wstring TestFolder::MakeFolder(const std::wstring& name) const
{
    const std::wstring path = PathOf(name);
    std::filesystem::create_directories(path);
    return path;
}

std::wstring TestFolder::MakeSparseFile(const std::wstring& name, std::uint64_t size)
{
    const std::wstring path = PathOf(name);
    const OwnedHandle file(CreateNewFile(path));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    Require(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()),
            L"extend " + path);
    sparseFiles_.push_back(path);
    return path;
}
