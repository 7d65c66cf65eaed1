#include "IniFile.h"

#include <cwchar>

namespace {
constexpr const wchar_t* kSettingsFileName = L"setting.ini";

bool OpenSettingsFile(CIniFile& file)
{
    const CString path = CIniFile::GetIniFilePath(AfxGetInstanceHandle());
    return !path.IsEmpty() && file.SetPath(path);
}
}

CIniFile::CIniFile() : m_szPath{} {}

CString CIniFile::GetIniFilePath(HINSTANCE module)
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();   // the program's own path did not fit
    ::PathRemoveFileSpecW(folder);
    if (!::PathAddBackslashW(folder))
        return CString();
    CString path(folder);
    path += kSettingsFileName;
    return path.GetLength() < MAX_PATH ? path : CString();
}

bool CIniFile::SetPath(const wchar_t* path)
{
    if (!path || wcslen(path) >= MAX_PATH)
        return false;
    wcscpy(m_szPath, path);
    return true;
}

void CIniFile::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue, DWORD* destination) const
{
    if (destination)
        *destination = ::GetPrivateProfileIntW(section, key, defaultValue, m_szPath);
}

void CIniFile::WriteInt(const wchar_t* section, const wchar_t* key, DWORD value) const
{
    wchar_t text[16] = {};
    _itow_s(static_cast<int>(value), text, 16, 10);
    ::WritePrivateProfileStringW(section, key, text, m_szPath);
}

void ReadSettings(const SettingsFields& fields)
{
    CIniFile file;
    const bool usable = OpenSettingsFile(file);
    for (int row = 0; row < kSettingCount; ++row) {
        const SettingKey& key = kSettingKeys[row];
        if (usable)
            file.ReadInt(kSettingsSection, key.name, static_cast<int>(key.defaultValue), fields.field[row]);
        else
            *fields.field[row] = key.defaultValue;
    }
}

void WriteSettings(const SettingsFields& fields)
{
    CIniFile file;
    if (!OpenSettingsFile(file))
        return;
    for (int row = 0; row < kSettingCount; ++row)
        file.WriteInt(kSettingsSection, kSettingKeys[row].name, *fields.field[row]);
}
