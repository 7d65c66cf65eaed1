// One hash of the hash list computed over one file: the program's CRC-32, a
// CryptoAPI slot or HAS-160, behind one interface for both workers.
#pragma once

#include <functional>
#include <vector>

#include "Afx.h"
#include "CryptHashSlot.h"
#include "HashEngine.h"
#include "ParallelFeed.h"

class HashComputation {
public:
    explicit HashComputation(HashKind kind) : m_kind(kind) {}
    HashComputation(const HashComputation&) = delete;
    HashComputation& operator=(const HashComputation&) = delete;

    HashKind Kind() const { return m_kind; }
    // Opens the CryptoAPI slot or starts HAS-160; a slot that cannot be opened raises
    // the hash's module failure for `path`.
    void Start(const CString& path);
    // Feeds one block; false when the provider refuses it. Safe on any one thread at a
    // time, so that a helper thread can feed it while the worker reads.
    bool Feed(const BYTE* data, DWORD length);
    // Raises the hash's data failure for `path`.
    [[noreturn]] void RaiseDataFailure(const CString& path) const;
    // The value as lower-case hexadecimal text; empty when the provider cannot give it.
    CString Finish();

private:
    HashKind m_kind;
    uint32_t m_crc = 0;
    CryptHashSlot m_slot;
    Has160Context m_has160{};
};

// The hashes of one run, started, each block fed to all of them at once.
class HashGroup {
public:
    // `hashes` in the order of the hash list.
    explicit HashGroup(std::vector<HashComputation*> hashes);
    // Feeds the block to every hash and runs `meanwhile` (the progress display) while
    // they work, then waits for them; returns what `meanwhile` returned. Raises the
    // data failure of the first hash, in the hash list's order, that refused the block.
    bool Feed(const BYTE* data, DWORD length, const CString& path, const std::function<bool()>& meanwhile);

private:
    std::vector<HashComputation*> m_hashes;
    ParallelFeed m_feed;
};
