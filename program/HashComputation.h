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

// The hashes of one run, started, each block fed to all of them at once, and the
// progress of each block shown only once every hash has taken the block.
class HashGroup {
public:
    // Shows a block's progress; false when the user has cancelled.
    using ShowProgress = std::function<bool()>;

    // `hashes` in the order of the hash list.
    explicit HashGroup(std::vector<HashComputation*> hashes);

    // Feeds the block to every hash and waits for them. While helper threads take it,
    // the progress of the block before is shown; this block's progress is shown as soon
    // as its hashes are done when it ends the file or when no hash works beside the
    // caller, and otherwise with the next block. Raises the data failure of the first
    // hash, in the hash list's order, that refused the block, before showing the
    // block's progress. False when the user has cancelled: the run stops, and a cancel
    // seen while the block was hashed wins over its refusal.
    bool Feed(const BYTE* data, DWORD length, const CString& path, bool endsFile, ShowProgress show);
    // Shows the progress still due from the last block fed (when the run fails after
    // it); false when the user has cancelled.
    bool ShowDueProgress();

private:
    std::vector<HashComputation*> m_hashes;
    ParallelFeed m_feed;
    ShowProgress m_due;
};
