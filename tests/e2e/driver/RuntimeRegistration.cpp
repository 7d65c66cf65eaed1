#include "RuntimeRegistration.h"

#include <stdexcept>

namespace runtime_registration {
namespace {

constexpr const wchar_t* kKey =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
constexpr const wchar_t* kVersionValue = L"pv";

void Require(LSTATUS status, const char* what)
{
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string("runtime registration: cannot ") + what + " (error " +
                                 std::to_string(status) + ")");
}

// Removing what is not there is no failure.
void RequireGoneOrAbsent(LSTATUS status, const char* what)
{
    if (status != ERROR_FILE_NOT_FOUND)
        Require(status, what);
}

// Opened in place, never removed first: runs in parallel must always find it.
HKEY CreateKey()
{
    HKEY key = nullptr;
    Require(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            "create the key");
    return key;
}

void WriteValue(DWORD type, const void* data, DWORD size)
{
    HKEY key = CreateKey();
    const LSTATUS status = RegSetValueExW(key, kVersionValue, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    Require(status, "write the value");
}

}  // namespace

void WriteVersion(const std::wstring& version)
{
    WriteValue(REG_SZ, version.c_str(), static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
}

void WriteVersionAsNumber(DWORD version)
{
    WriteValue(REG_DWORD, &version, sizeof version);
}

void WriteKeyWithoutVersion()
{
    HKEY key = CreateKey();
    const LSTATUS status = RegDeleteValueW(key, kVersionValue);
    RegCloseKey(key);
    RequireGoneOrAbsent(status, "delete the value");
}

void Remove()
{
    RequireGoneOrAbsent(RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey), "delete the key");
}

}  // namespace runtime_registration
