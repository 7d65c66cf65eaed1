#include "ExpectedTexts.h"

namespace {

const ExpectedTexts kEnglish{
    L"Larkspan 2.1  File hash",
    L"Larkspan 2.1  compare Hash",
    L"Check the file hash",
    L"Compare the file hash",
    {{L"Item", 80}, {L"Hash value", 310}},
    {{L"File name", 130}, {L"Hash", 65}, {L"Hash value", 145}, {L"Result", 50}},
    L"File name: %s",
    L"Are you sure you want to cancel?",
    L"Error(6000): Webview2 runtime is not installed.\r\nPlease try again after installing the program.",
    L"Error(6001): Incorrect number of arguments file data.\r\n",
    L"Error(6002): The file path could not be resolved.\r\n",
    L"Could not connect to the update server.\r\nCheck the network connection status.",
    L"Network error",
    L"Larkspan 2.1 Check for updates",
    L"Error(1018): Unable to read the input file\r\n%s",
};

const ExpectedTexts kKorean{
    L"Larkspan 2.1  파일 해시",
    L"Larkspan 2.1  파일 해시 비교",
    L"파일 해시를 검사합니다",
    L"파일 해시를 비교합니다",
    {{L"구분", 80}, {L"해시 값", 310}},
    {{L"파일명", 130}, {L"해시", 65}, {L"해시 값", 145}, {L"확인", 50}},
    L"파일 이름: %s",
    L"진행중인 작업을 취소하시겠습니까?",
    L"Error(6000): Webview2 runtime이 설치되어 있지 않습니다.\r\n해당 프로그램을 설치하신 후 다시 시도하십시오.",
    L"Error(6001): Incorrect number of arguments file data.\r\n",
    L"Error(6002): 파일 경로를 확인할 수 없습니다\r\n",
    L"업데이트 서버에 연결할 수 없습니다.\r\n네트워크 연결 상태를 확인하십시오.",
    L"네트워크 오류",
    L"Larkspan 2.1 업데이트 확인",
    L"Error(1018): 입력 파일을 읽을 수 없습니다\r\n%s",
};

const ExpectedTexts* current = &kEnglish;

}  // namespace

void UseKoreanTexts(bool korean)
{
    current = korean ? &kKorean : &kEnglish;
}

const ExpectedTexts& Expected()
{
    return *current;
}

const wchar_t* ExpectedLanguageName()
{
    return current == &kKorean ? L"korean" : L"english";
}
