#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { MessageBoxW(nullptr, L"hi", L"", MB_OK); return 3; }
