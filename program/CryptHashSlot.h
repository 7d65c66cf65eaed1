// CryptHashSlot: one CryptoAPI hash in progress (MD2 to SHA-512 of the hash list).
// The slot owns its provider and hash object and releases each exactly once, the
// hash object first.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "CString.h"

class CryptHashSlot {
public:
    CryptHashSlot();
    ~CryptHashSlot();
    CryptHashSlot(const CryptHashSlot&) = delete;
    CryptHashSlot& operator=(const CryptHashSlot&) = delete;

    // A verify-only context of the provider type's default provider and a hash object
    // of `algorithm`. On failure whatever was acquired is released: the slot is empty.
    bool Open(DWORD providerType, ALG_ID algorithm);
    // Fails on an empty slot or when the provider refuses the data.
    bool AddData(const BYTE* data, DWORD length);
    // Appends the value as hexadecimal text and finishes the hash object. When the
    // provider cannot give it within `expectedLength` bytes, appends nothing and
    // releases both handles.
    bool AppendHashHex(CString& out, DWORD expectedLength);

    // Neither a provider nor a hash object is held.
    bool IsEmpty() const { return m_provider == 0 && m_hash == 0; }

private:
    void Release();

    HCRYPTPROV m_provider;
    HCRYPTHASH m_hash;
    BYTE m_value[260];
};
