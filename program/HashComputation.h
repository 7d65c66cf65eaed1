// One hash of the hash list computed over one file: the program's CRC-32, a
// CryptoAPI slot or HAS-160, behind one interface for both workers.
#pragma once

#include "Afx.h"
#include "CryptHashSlot.h"
#include "HashEngine.h"

class HashComputation {
public:
    explicit HashComputation(HashKind kind) : m_kind(kind) {}
    HashComputation(const HashComputation&) = delete;
    HashComputation& operator=(const HashComputation&) = delete;

    HashKind Kind() const { return m_kind; }
    // Opens the CryptoAPI slot or starts HAS-160; a slot that cannot be opened raises
    // the hash's module failure for `path`.
    void Start(const CString& path);
    // Feeds one block; data the provider refuses raises the hash's data failure.
    void Feed(const BYTE* data, DWORD length, const CString& path);
    // The value as lower-case hexadecimal text; empty when the provider cannot give it.
    CString Finish();

private:
    HashKind m_kind;
    uint32_t m_crc = 0;
    CryptHashSlot m_slot;
    Has160Context m_has160{};
};
