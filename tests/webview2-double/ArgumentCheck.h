// How an entry of the double turns down arguments that the published signature rules out:
// it logs "<call> rejected: <reason>" and gives the caller `result`.
#pragma once

#include <windows.h>

#include <string>

#include "CallLog.h"

inline HRESULT Rejected(const std::wstring& call, const std::wstring& reason, HRESULT result)
{
    call_log::Write(call + L" rejected: " + reason);
    return result;
}
