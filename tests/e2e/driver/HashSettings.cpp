#include "HashSettings.h"

namespace {

constexpr std::array<const char*, kHashCount> kEnableKeys = {
    "g_dwCrc32", "g_dwMd2", "g_dwMd4", "g_dwMd5", "g_dwSha_1", "g_dwSha_256", "g_dwSha_384", "g_dwSha_512",
    "g_dwHas_160"};

std::string Line(const char* key, bool value)
{
    return std::string(key) + (value ? "=1\r\n" : "=0\r\n");
}

}  // namespace

void WriteHashSettings(const TestFolder& folder, const HashSettings& settings)
{
    std::string text = "[config]\r\n" + Line("g_dwUpperCase", settings.upperCase);
    for (std::size_t i = 0; i < kHashCount; ++i)
        text += Line(kEnableKeys[i], settings.enabled[i]);
    folder.MakeFile(L"setting.ini", text);
}
