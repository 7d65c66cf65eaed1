#include "WorkerError.h"

#include "LocalizedString.h"

namespace {
// No string table holds this entry, so the caption is an empty text (not the
// system's default caption).
constexpr UINT kEmptyCaptionId = 24;
}

void RaiseWorkerError(UINT messageId, const CString& path)
{
    throw PERROR_TYPES_T{static_cast<int>(messageId), path};
}

void ShowWorkerError(const PERROR_TYPES_T& error)
{
    ::MessageBoxW(nullptr, LoadLocalizedString(error.nErrorId, error.strPath.GetString()),
                  LoadLocalizedString(kEmptyCaptionId), MB_ICONERROR);
}
