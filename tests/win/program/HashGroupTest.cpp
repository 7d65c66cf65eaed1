// The hashes of a run fed together, each block to all of them at once: the same values
// as one after the other, the first refusal in the hash list's order, and no helper
// thread left once the group is gone, however its run ended.
#include "HashComputation.h"
#include "WorkerError.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

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

// One computation of each hash of the list, in its order.
struct AllNine {
    AllNine()
    {
        for (size_t i = 0; i < kHashCount; ++i)
            hashes.push_back(std::make_unique<HashComputation>(kHashList[i].kind));
    }
    std::vector<HashComputation*> Pointers() const
    {
        std::vector<HashComputation*> pointers;
        for (const auto& hash : hashes)
            pointers.push_back(hash.get());
        return pointers;
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
            group.Feed(buffer.data(), length, kPath, [] { return true; });
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
            // Refused data is reported even when the display meanwhile saw a cancel.
            group.Feed(block, sizeof block, kPath, [] { return false; });
            ADD_FAILURE() << "nothing raised; expected " << c.errorShown;
        } catch (const PERROR_TYPES_T& error) {
            EXPECT_EQ(error.nErrorId, c.errorShown);
            EXPECT_EQ(error.strPath.Str(), kPath.Str());
        }
    }
}

TEST(HashGroup, NoHelperThreadOutlivesTheGroup)
{
    const int before = ThreadCount();
    const BYTE block[64] = {};
    {
        AllNine run;
        for (const auto& hash : run.hashes)
            hash->Start(kPath);
        HashGroup group(run.Pointers());
        EXPECT_EQ(ThreadCount(), before + static_cast<int>(kHashCount)) << "a helper for each hash";
        EXPECT_FALSE(group.Feed(block, sizeof block, kPath, [] { return false; })) << "what the display said";
    }
    EXPECT_EQ(ThreadCount(), before) << "after a finished run";
    try {
        AllNine run;   // nothing started: the first block is refused
        HashGroup group(run.Pointers());
        group.Feed(block, sizeof block, kPath, [] { return true; });
    } catch (const PERROR_TYPES_T&) {
    }
    EXPECT_EQ(ThreadCount(), before) << "after a failed run";
    {
        AllNine run;
        HashGroup group({run.hashes[3].get()});
        EXPECT_EQ(ThreadCount(), before) << "a single hash runs on the worker's own thread";
    }
}

}  // namespace
