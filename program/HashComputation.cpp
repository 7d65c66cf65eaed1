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

bool HashComputation::Feed(const BYTE* data, DWORD length)
{
    switch (m_kind) {
    case HashKind::Crc32:
        m_crc = ComputeCrc32(data, length, m_crc);
        return true;
    case HashKind::Has_160:
        Has160Update(m_has160, data, length);
        return true;
    default:
        return m_slot.AddData(data, length);
    }
}

void HashComputation::RaiseDataFailure(const CString& path) const
{
    RaiseWorkerError(HashInfoOf(m_kind).dataMessageId, path);
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

namespace {
std::vector<ParallelFeed::Consumer> ConsumersOf(const std::vector<HashComputation*>& hashes)
{
    std::vector<ParallelFeed::Consumer> consumers;
    for (HashComputation* hash : hashes)
        consumers.push_back([hash](const unsigned char* data, uint32_t length) { return hash->Feed(data, length); });
    return consumers;
}
}

HashGroup::HashGroup(std::vector<HashComputation*> hashes)
    : m_hashes(std::move(hashes)), m_feed(ConsumersOf(m_hashes))
{
}

bool HashGroup::Feed(const BYTE* data, DWORD length, const CString& path, bool endsFile, ShowProgress show)
{
    m_feed.Start(data, length);
    // The display costs milliseconds a block (the dialog repaints): done while helpers hash.
    const bool goOn = ShowDueProgress();
    const int refused = m_feed.Wait();
    if (!goOn)
        return false;   // the user said to stop: no results, and no message about this block either
    if (refused >= 0)
        m_hashes[static_cast<size_t>(refused)]->RaiseDataFailure(path);
    m_due = std::move(show);
    return (!endsFile && m_feed.HasHelpers()) || ShowDueProgress();
}

bool HashGroup::ShowDueProgress()
{
    if (!m_due)
        return true;
    const ShowProgress show = std::move(m_due);
    m_due = nullptr;
    return show();
}
