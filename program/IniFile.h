// "setting.ini" beside the program: section "config", eleven decimal integer keys.
#pragma once

#include "Afx.h"

// One private-profile file; keeps no file open and caches nothing.
class CIniFile {
public:
    CIniFile();
    virtual ~CIniFile() = default;

    // The settings file of `module`'s folder; empty when the path would not fit MAX_PATH.
    static CString GetIniFilePath(HINSTANCE module);
    // False, and nothing copied, for a null path or one that does not fit the buffer.
    bool SetPath(const wchar_t* path);
    void ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue, DWORD* destination) const;
    void WriteInt(const wchar_t* section, const wchar_t* key, DWORD value) const;

private:
    wchar_t m_szPath[MAX_PATH];
};

struct SettingKey {
    const wchar_t* name;
    DWORD defaultValue;
};

inline constexpr const wchar_t* kSettingsSection = L"config";
inline constexpr int kSettingCount = 11;

// Key order of every read and write; the nine enable keys follow the hash list.
inline constexpr SettingKey kSettingKeys[kSettingCount] = {
    {L"g_dwCompareHash", 0}, {L"g_dwUpperCase", 0}, {L"g_dwCrc32", 1},   {L"g_dwMd2", 0},
    {L"g_dwMd4", 0},         {L"g_dwMd5", 1},       {L"g_dwSha_1", 1},   {L"g_dwSha_256", 0},
    {L"g_dwSha_384", 0},     {L"g_dwSha_512", 0},   {L"g_dwHas_160", 0},
};

// Pointers to a dialog's eleven settings fields, in key order.
struct SettingsFields {
    DWORD* field[kSettingCount];
    // The enable flag of hash-list entry `index` (keys 3 to 11).
    DWORD* EnableFlag(size_t index) const { return field[2 + index]; }
};

// The eleven settings of a dialog, named as the file's keys and preset to their defaults.
struct SettingsValues {
    DWORD m_dwCompareHash = kSettingKeys[0].defaultValue;
    DWORD m_dwUpperCase = kSettingKeys[1].defaultValue;
    DWORD m_dwCrc32 = kSettingKeys[2].defaultValue;
    DWORD m_dwMd2 = kSettingKeys[3].defaultValue;
    DWORD m_dwMd4 = kSettingKeys[4].defaultValue;
    DWORD m_dwMd5 = kSettingKeys[5].defaultValue;
    DWORD m_dwSha_1 = kSettingKeys[6].defaultValue;
    DWORD m_dwSha_256 = kSettingKeys[7].defaultValue;
    DWORD m_dwSha_384 = kSettingKeys[8].defaultValue;
    DWORD m_dwSha_512 = kSettingKeys[9].defaultValue;
    DWORD m_dwHas_160 = kSettingKeys[10].defaultValue;

    SettingsFields Settings()
    {
        return {{&m_dwCompareHash, &m_dwUpperCase, &m_dwCrc32, &m_dwMd2, &m_dwMd4, &m_dwMd5, &m_dwSha_1,
                 &m_dwSha_256, &m_dwSha_384, &m_dwSha_512, &m_dwHas_160}};
    }
};

// Fills every field from the file; a missing file, key or usable path gives the defaults.
void ReadSettings(const SettingsFields& fields);
// Writes all eleven keys; failures are silent. Nothing is written without a usable path.
void WriteSettings(const SettingsFields& fields);
