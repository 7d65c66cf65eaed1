#include "HashComputation.h"

#include "WorkerError.h"

void HashComputation::Start(const CString& path)
{
    const HashInfo& info = HashInfoOf(m_kind);
    switch (m_kind) {
    case HashKind::Crc32:
        m_crc = 0;
        break;
    case HashKind::Has_160:
        Has160Init(m_has160);
        break;
    default:
        if (!m_slot.Open(info.providerType, info.algorithm))
            RaiseWorkerError(info.moduleMessageId, path);
        break;
    }
}

void HashComputation::Feed(const BYTE* data, DWORD length, const CString& path)
{
    switch (m_kind) {
    case HashKind::Crc32:
        m_crc = ComputeCrc32(data, length, m_crc);
        break;
    case HashKind::Has_160:
        Has160Update(m_has160, data, length);
        break;
    default:
        if (!m_slot.AddData(data, length))
            RaiseWorkerError(HashInfoOf(m_kind).dataMessageId, path);
        break;
    }
}

CString HashComputation::Finish()
{
    switch (m_kind) {
    case HashKind::Crc32:
        return CString(Crc32Text(m_crc));
    case HashKind::Has_160: {
        unsigned char digest[kHas160DigestBytes];
        Has160Final(m_has160, digest);
        return CString(DigestText(digest, sizeof digest));
    }
    default: {
        CString value;
        m_slot.AppendHashHex(value, HashInfoOf(m_kind).digestBytes);
        return value;
    }
    }
}
