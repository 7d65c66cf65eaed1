#include "InputFile.h"

#include "WorkerError.h"
#include "resource.h"

namespace {
HANDLE OpenForReading(const CString& path)
{
    return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
}

InputFile::InputFile(const CString& path) : m_path(path), m_handle(OpenForReading(path))
{
    if (m_handle == INVALID_HANDLE_VALUE)
        RaiseWorkerError(IDS_ERR_OPEN, m_path);
}

InputFile::~InputFile()
{
    Close();
}

void InputFile::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

ULONGLONG InputFile::Size() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_handle, &size))
        RaiseWorkerError(IDS_ERR_FILE_SIZE, m_path);
    return static_cast<ULONGLONG>(size.QuadPart);
}

bool InputFile::ReadAll(ReadBuffer& buffer, ULONGLONG size,
                        const std::function<bool(const BYTE*, DWORD)>& onBlock) const
{
    ULONGLONG total = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(m_handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            RaiseWorkerError(IDS_ERR_READ, m_path);
        const bool sizeChanged = read == 0 ? total != size : read > size - total;
        if (sizeChanged)
            RaiseWorkerError(IDS_ERR_READ, m_path);
        if (read == 0)
            return true;
        total += read;
        if (!onBlock(buffer.data(), read))
            return false;
    }
}

ULONGLONG SizeOrZero(const CString& path)
{
    HANDLE handle = OpenForReading(path);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    const BOOL sized = ::GetFileSizeEx(handle, &size);
    ::CloseHandle(handle);
    return sized ? static_cast<ULONGLONG>(size.QuadPart) : 0;
}
