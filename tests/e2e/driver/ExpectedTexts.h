// What the program shows, in the language of this run (chosen on the driver's command line).
#pragma once

#include <string>
#include <vector>

struct ExpectedColumn {
    std::wstring heading;
    int width;
};

struct ExpectedTexts {
    std::wstring hashTitle;
    std::wstring compareTitle;
    std::wstring hashTask;
    std::wstring compareTask;
    std::vector<ExpectedColumn> hashColumns;
    std::vector<ExpectedColumn> compareColumns;
    std::wstring fileNameFormat;   // one %s: the path
    std::wstring cancelQuestion;
    std::wstring noRuntime;        // 6000
    std::wstring noArgument;       // 6001
    std::wstring noSuchPath;       // 6002
    std::wstring noNetwork;        // 5005
    std::wstring noNetworkCaption; // 5006
    std::wstring updateCaption;    // 5001
    std::wstring readError;        // 1018, one %s: the path
};

// Texts that are the same in both languages.
namespace fixed_text {
inline const std::wstring kTemplateCaption = L"Larkspan 2.1";
inline const std::wstring kTemplateStatic = L"Static";
inline const std::wstring kSettingsButton = L"설정";
inline const std::wstring kNoCaption = L"";
inline const std::wstring kWebViewFailureCaption = L"Failure";
// The application's name: the program file's name without extension.
inline const std::wstring kQuestionCaption = L"Tessaly";
}  // namespace fixed_text

void UseKoreanTexts(bool korean);
const ExpectedTexts& Expected();
// "english" or "korean": keeps the work of the two language runs apart.
const wchar_t* ExpectedLanguageName();
