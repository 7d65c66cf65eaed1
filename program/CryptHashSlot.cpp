#include "CryptHashSlot.h"

#include "HashEngine.h"

#include <cstring>

CryptHashSlot::CryptHashSlot()
    : m_provider(0), m_hash(0)
{
    std::memset(m_value, 0, sizeof m_value);
}

CryptHashSlot::~CryptHashSlot()
{
    Release();
}

bool CryptHashSlot::Open(DWORD providerType, ALG_ID algorithm)
{
    // A failed call may leave anything in its out handle: only a success counts.
    if (!CryptAcquireContextW(&m_provider, nullptr, nullptr, providerType, CRYPT_VERIFYCONTEXT)) {
        m_provider = 0;
        return false;
    }
    if (!CryptCreateHash(m_provider, algorithm, 0, 0, &m_hash)) {
        m_hash = 0;
        Release();
        return false;
    }
    return true;
}

bool CryptHashSlot::AddData(const BYTE* data, DWORD length)
{
    return m_hash != 0 && CryptHashData(m_hash, data, length, 0);
}

bool CryptHashSlot::AppendHashHex(CString& out, DWORD expectedLength)
{
    // Never more than the value buffer holds, whatever the caller expects.
    DWORD length = expectedLength < sizeof m_value ? expectedLength : DWORD{sizeof m_value};
    if (!CryptGetHashParam(m_hash, HP_HASHVAL, m_value, &length, 0)) {
        Release();
        return false;
    }
    out += CString(DigestText(m_value, length));
    return true;
}

void CryptHashSlot::Release()
{
    if (m_hash != 0)
        CryptDestroyHash(m_hash);
    if (m_provider != 0)
        CryptReleaseContext(m_provider, 0);
    m_hash = 0;
    m_provider = 0;
}
