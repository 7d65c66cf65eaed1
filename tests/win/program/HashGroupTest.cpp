// The hashes of a run fed together, each block to all of them at once: the same values
// as one after the other, each block's progress only once its hashes are done with it,
// the first refusal in the hash list's order unless the user has cancelled, no helper
// thread left once the group is gone, however its run ended, and a run that completes
// when helpers cannot be had.
#include "AllocationHook.h"
#include "HashComputation.h"
#include "ImportSlot.h"
#include "WorkerError.h"

#include <tlhelp32.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <iterator>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

extern "C" decltype(&CryptHashData) __imp_CryptHashData;

namespace {

const CString kPath = L"C:\\input.bin";

// Threads of this process, as the system lists them.
int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Every block that a CryptoAPI hash takes passes through here: the blocks taken are
// counted once the provider is done with them, and the block `held` waits until `released`
// is set or two seconds have passed, so that a display that does not wait for the helpers
// certainly comes while one of them still has the block.
struct CryptoFeeds {
    using HashData = decltype(&CryptHashData);
    static BOOL WINAPI Take(HCRYPTHASH hash, const BYTE* data, DWORD length, DWORD flags)
    {
        if (data == held.load())
            WaitForSingleObject(released, 2000);
        const BOOL taken = original(hash, data, length, flags);
        ++count;
        return taken;
    }
    static inline HashData original = ReplaceImport(__imp_CryptHashData, &Take);
    static inline std::atomic<int> count{0};
    static inline std::atomic<const BYTE*> held{nullptr};
    static inline HANDLE released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

bool IsCryptoApiHash(HashKind kind)
{
    return kind != HashKind::Crc32 && kind != HashKind::Has_160;
}

// One computation of each hash of the list, in its order.
struct AllNine {
    AllNine()
    {
        for (size_t i = 0; i < kHashCount; ++i)
            hashes.push_back(std::make_unique<HashComputation>(kHashList[i].kind));
    }
    std::vector<HashComputation*> Pointers(size_t first = 0, size_t count = kHashCount) const
    {
        std::vector<HashComputation*> pointers;
        for (size_t i = first; i < first + count; ++i)
            pointers.push_back(hashes[i].get());
        return pointers;
    }
    void StartAll() const
    {
        for (const auto& hash : hashes)
            hash->Start(kPath);
    }
    std::vector<std::unique_ptr<HashComputation>> hashes;
};

TEST(HashGroup, GivesTheValuesOfTheHashesFedOneAfterTheOther)
{
    AllNine together, inTurn;
    for (size_t i = 0; i < kHashCount; ++i) {
        together.hashes[i]->Start(kPath);
        inTurn.hashes[i]->Start(kPath);
    }
    std::mt19937 random(5);
    std::vector<BYTE> buffer(1 << 20);
    {
        HashGroup group(together.Pointers());
        for (int block = 0; block < 12; ++block) {
            for (BYTE& byte : buffer)
                byte = static_cast<BYTE>(random());
            const DWORD length = block == 11 ? 12345 : static_cast<DWORD>(buffer.size());
            group.Feed(buffer.data(), length, kPath, block == 11, [] { return true; });
            for (const auto& hash : inTurn.hashes)
                ASSERT_TRUE(hash->Feed(buffer.data(), length));
        }
    }
    for (size_t i = 0; i < kHashCount; ++i) {
        const CString value = together.hashes[i]->Finish();
        EXPECT_FALSE(value.IsEmpty()) << i;
        EXPECT_EQ(value.Str(), inTurn.hashes[i]->Finish().Str()) << i;
    }
}

// A CryptoAPI hash that was never started refuses every block.
struct RefusalCase {
    std::vector<HashKind> refusing;
    int errorShown;   // the data failure's message id
};

TEST(HashGroup, RaisesTheDataFailureOfTheFirstRefusingHashInTheListsOrder)
{
    const RefusalCase cases[] = {
        {{HashKind::Md5}, 1005},
        {{HashKind::Sha_512}, 1011},
        {{HashKind::Md2, HashKind::Sha_512}, 1014},
        {{HashKind::Sha_1, HashKind::Md4}, 1015},
    };
    const BYTE block[64] = {};
    for (const RefusalCase& c : cases) {
        AllNine run;
        for (const auto& hash : run.hashes) {
            if (std::find(c.refusing.begin(), c.refusing.end(), hash->Kind()) == c.refusing.end())
                hash->Start(kPath);
        }
        HashGroup group(run.Pointers());
        try {
            group.Feed(block, sizeof block, kPath, true, [] { return true; });
            ADD_FAILURE() << "nothing raised; expected " << c.errorShown;
        } catch (const PERROR_TYPES_T& error) {
            EXPECT_EQ(error.nErrorId, c.errorShown);
            EXPECT_EQ(error.strPath.Str(), kPath.Str());
        }
    }
}

// What a run's progress did, in order: "feeding N" and "fed N" around the Feed of block
// N, "shown N" when block N's progress was shown. Each block has memory of its own.
struct ProgressLog {
    HashGroup::ShowProgress Show(int block, bool goOn = true)
    {
        return [this, block, goOn] {
            events.push_back("shown " + std::to_string(block));
            cryptoBlocksWhenShown.push_back(CryptoFeeds::count);
            if (blocks[static_cast<size_t>(block)].data() == CryptoFeeds::held.load())
                SetEvent(CryptoFeeds::released);
            return goOn;
        };
    }
    bool Feed(HashGroup& group, int block, bool endsFile, bool goOn = true)
    {
        const auto& data = blocks[static_cast<size_t>(block)];
        events.push_back("feeding " + std::to_string(block));
        const bool result = group.Feed(data.data(), static_cast<DWORD>(data.size()), kPath, endsFile, Show(block, goOn));
        events.push_back("fed " + std::to_string(block));
        return result;
    }
    std::array<std::array<BYTE, 64>, 4> blocks{};
    std::vector<std::string> events;
    std::vector<int> cryptoBlocksWhenShown;   // the CryptoAPI hashes' blocks taken, at each "shown"
};

TEST(HashGroup, ShowsEachBlocksProgressOnlyOnceItsHashesAreDoneWithIt)
{
    ASSERT_NE(CryptoFeeds::original, nullptr) << "the CryptoAPI hashes' blocks are counted";
    struct Case {
        const char* name;
        size_t first;   // the hashes fed: `count` of the list from `first`
        size_t count;
        std::vector<std::string> events;
    };
    // With helpers, a block is shown while they take the next one, and the block that
    // ends the file once they are done with it; a lone hash is fed before each display.
    const Case cases[] = {
        {"helpers", 0, kHashCount,
         {"feeding 1", "fed 1", "feeding 2", "shown 1", "fed 2", "feeding 3", "shown 2", "shown 3", "fed 3"}},
        {"MD5 alone", 3, 1,
         {"feeding 1", "shown 1", "fed 1", "feeding 2", "shown 2", "fed 2", "feeding 3", "shown 3", "fed 3"}},
    };
    for (const Case& c : cases) {
        AllNine run;
        run.StartAll();
        HashGroup group(run.Pointers(c.first, c.count));
        ProgressLog log;
        const int cryptoHashes = static_cast<int>(std::count_if(
            run.hashes.begin() + static_cast<long>(c.first), run.hashes.begin() + static_cast<long>(c.first + c.count),
            [](const auto& hash) { return IsCryptoApiHash(hash->Kind()); }));
        // The last block is held in the helpers (a lone hash has none: it is fed on this thread).
        ResetEvent(CryptoFeeds::released);
        CryptoFeeds::held = c.count > 1 ? log.blocks[3].data() : nullptr;
        const int takenBefore = CryptoFeeds::count;
        for (int block = 1; block <= 3; ++block)
            EXPECT_TRUE(log.Feed(group, block, block == 3)) << c.name;
        CryptoFeeds::held = nullptr;
        EXPECT_EQ(log.events, c.events) << c.name;
        ASSERT_EQ(log.cryptoBlocksWhenShown.size(), 3u) << c.name;
        for (int block = 1; block <= 3; ++block)
            EXPECT_GE(log.cryptoBlocksWhenShown[static_cast<size_t>(block - 1)] - takenBefore, cryptoHashes * block)
                << c.name << ": block " << block << " was shown before every hash had taken it";
        EXPECT_TRUE(group.ShowDueProgress());
        EXPECT_EQ(log.events.size(), c.events.size()) << c.name << ": nothing is left to show";
    }
}

TEST(HashGroup, RaisesARefusalBeforeTheRefusedBlocksProgressUnlessTheUserCancelled)
{
    constexpr size_t kMd5 = 3;
    struct Case {
        const char* name;
        size_t first;        // the hashes fed: `count` of the list from `first`, MD5 among them
        size_t count;
        bool firstGoesOn;    // what the display of the first block answers
    };
    const Case cases[] = {
        {"helpers", 0, kHashCount, true},
        {"MD5 alone", kMd5, 1, true},
        // The user cancelled while the refused block was hashed: the run stops without a message.
        {"helpers, cancelled meanwhile", 0, kHashCount, false},
    };
    for (const Case& c : cases) {
        AllNine run;
        run.StartAll();
        HashGroup group(run.Pointers(c.first, c.count));
        ProgressLog log;
        log.Feed(group, 1, false, c.firstGoesOn);
        run.hashes[kMd5]->Finish();   // MD5's value is read: its provider takes no more data
        bool raised = false;
        try {
            EXPECT_FALSE(log.Feed(group, 2, true)) << c.name << ": the run goes no further";
        } catch (const PERROR_TYPES_T& error) {
            raised = true;
            EXPECT_EQ(error.nErrorId, 1005) << c.name;
        }
        EXPECT_EQ(raised, c.firstGoesOn) << c.name << ": the refusal is raised unless the user cancelled";
        EXPECT_TRUE(group.ShowDueProgress());
        std::vector<std::string> shown;
        std::copy_if(log.events.begin(), log.events.end(), std::back_inserter(shown),
                     [](const std::string& event) { return event.rfind("shown", 0) == 0; });
        EXPECT_EQ(shown, std::vector<std::string>{"shown 1"}) << c.name << ": the refused block is never shown";
    }
}

TEST(HashGroup, NoHelperThreadOutlivesTheGroup)
{
    const int before = ThreadCount();
    const BYTE block[64] = {};
    {
        AllNine run;
        run.StartAll();
        HashGroup group(run.Pointers());
        EXPECT_EQ(ThreadCount(), before + static_cast<int>(kHashCount)) << "a helper for each hash";
        EXPECT_FALSE(group.Feed(block, sizeof block, kPath, true, [] { return false; })) << "what the display said";
    }
    EXPECT_EQ(ThreadCount(), before) << "after a finished run";
    try {
        AllNine run;   // nothing started: the first block is refused
        HashGroup group(run.Pointers());
        group.Feed(block, sizeof block, kPath, true, [] { return true; });
    } catch (const PERROR_TYPES_T&) {
    }
    EXPECT_EQ(ThreadCount(), before) << "after a failed run";
    {
        AllNine run;
        HashGroup group({run.hashes[3].get()});
        EXPECT_EQ(ThreadCount(), before) << "a single hash runs on the worker's own thread";
    }
}

// Each helper's thread needs memory of its own; when that, or any allocation while the
// group starts, fails, the run completes (the hash goes to the caller's thread), or the
// group is not made at all and leaves no thread behind. Never an abort.
TEST(HashGroup, CompletesWhenAllocationsFailWhileItsHelpersStart)
{
    const int before = ThreadCount();
    std::vector<BYTE> block(1 << 16);
    std::mt19937 random(9);
    for (BYTE& byte : block)
        byte = static_cast<BYTE>(random());
    AllNine inTurn;
    for (const auto& hash : inTurn.hashes) {
        hash->Start(kPath);
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(hash->Feed(block.data(), static_cast<DWORD>(block.size())));
    }
    std::vector<CString> expected;
    for (const auto& hash : inTurn.hashes)
        expected.push_back(hash->Finish());

    bool failedThere = true;
    for (LONG failing = 1; failedThere && failing < 100; ++failing) {
        AllNine run;
        run.StartAll();
        bool made = false;
        FailAllocation(failing);
        try {
            HashGroup group(run.Pointers());
            failedThere = AllocationFailed();
            FailAllocation(0);
            made = true;
            EXPECT_TRUE(group.Feed(block.data(), static_cast<DWORD>(block.size()), kPath, false, [] { return true; }));
            EXPECT_TRUE(group.Feed(block.data(), static_cast<DWORD>(block.size()), kPath, true, [] { return true; }));
        } catch (const std::bad_alloc&) {
            failedThere = AllocationFailed();
            FailAllocation(0);
        }
        EXPECT_EQ(ThreadCount(), before) << "allocation " << failing << " failing";
        for (size_t i = 0; made && i < kHashCount; ++i)
            EXPECT_EQ(run.hashes[i]->Finish().Str(), expected[i].Str()) << "allocation " << failing << " failing";
    }
    EXPECT_FALSE(failedThere) << "the group's start still fails an allocation after 100 of them";
}

}  // namespace
