// One input file of a hashing run, read once from start to end in 10 MiB blocks.
#pragma once

#include <functional>
#include <vector>

#include "Afx.h"

inline constexpr DWORD kReadBlockBytes = 10485760;

// The read buffer of a run: one block, zeroed once, reused for every read.
using ReadBuffer = std::vector<BYTE>;
inline ReadBuffer MakeReadBuffer() { return ReadBuffer(kReadBlockBytes, 0); }

class InputFile {
public:
    // Opens for reading with the sequential-scan hint, sharing with readers only.
    // Raises error 1000 when the file cannot be opened.
    explicit InputFile(const CString& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Raises error 1001 when the size cannot be read.
    ULONGLONG Size() const;
    // Reads block after block into `buffer` and hands each to `onBlock`, until the
    // end of the file or until `onBlock` returns false (then the result is false).
    // A failed read raises error 1018: a part of a file is never taken for the whole.
    // So does a file that ends before `size` bytes or goes on past them (it changed
    // while it was read); the block that would pass `size` is not handed on.
    bool ReadAll(ReadBuffer& buffer, ULONGLONG size, const std::function<bool(const BYTE*, DWORD)>& onBlock) const;
    void Close();

private:
    CString m_path;
    HANDLE m_handle;
};

// Opened only for its size; a file that cannot be opened or sized gives 0.
ULONGLONG SizeOrZero(const CString& path);
