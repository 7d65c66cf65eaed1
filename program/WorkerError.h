// Failures inside the hashing workers: raised as an error record and caught in the
// worker that raised it, which shows it in the error box and ends its run.
#pragma once

#include "Afx.h"

struct PERROR_TYPES_T {
    int nErrorId;      // string id of the message; its text takes the path
    CString strPath;   // the file concerned
};

[[noreturn]] void RaiseWorkerError(UINT messageId, const CString& path);
// The error box: no owner, error icon, an empty caption.
void ShowWorkerError(const PERROR_TYPES_T& error);
