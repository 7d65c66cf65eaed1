#include "CryptHashSlot.h"
#include "HashEngine.h"
#include "ImportSlot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The test binary's own import slots of the four CryptoAPI calls that take or give
// back a handle. The slot under test calls through them, so a test can count every
// acquisition and release without any hook in the product code.
extern "C" {
extern decltype(&CryptAcquireContextW) __imp_CryptAcquireContextW;
extern decltype(&CryptCreateHash) __imp_CryptCreateHash;
extern decltype(&CryptDestroyHash) __imp_CryptDestroyHash;
extern decltype(&CryptReleaseContext) __imp_CryptReleaseContext;
}

namespace {

struct HandleEvent {
    char kind;          // 'A'cquire, 'C'reate, 'D'estroy, 'R'elease
    ULONG_PTR handle;   // provider for A and R, hash object for C and D
    DWORD flags;        // of the acquisition
};

std::vector<HandleEvent> g_events;
decltype(&CryptAcquireContextW) g_realAcquire;
decltype(&CryptCreateHash) g_realCreate;
decltype(&CryptDestroyHash) g_realDestroy;
decltype(&CryptReleaseContext) g_realRelease;

BOOL WINAPI RecordAcquire(HCRYPTPROV* provider, LPCWSTR container, LPCWSTR name, DWORD type, DWORD flags)
{
    const BOOL ok = g_realAcquire(provider, container, name, type, flags);
    if (ok)
        g_events.push_back({'A', *provider, flags});
    return ok;
}

BOOL WINAPI RecordCreate(HCRYPTPROV provider, ALG_ID algorithm, HCRYPTKEY key, DWORD flags, HCRYPTHASH* hash)
{
    const BOOL ok = g_realCreate(provider, algorithm, key, flags, hash);
    if (ok)
        g_events.push_back({'C', *hash, 0});
    return ok;
}

BOOL WINAPI RecordDestroy(HCRYPTHASH hash)
{
    g_events.push_back({'D', hash, 0});
    return g_realDestroy(hash);
}

BOOL WINAPI RecordRelease(HCRYPTPROV provider, DWORD flags)
{
    g_events.push_back({'R', provider, flags});
    return g_realRelease(provider, flags);
}

class CryptHashSlotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_events.clear();
        g_realAcquire = __imp_CryptAcquireContextW;
        g_realCreate = __imp_CryptCreateHash;
        g_realDestroy = __imp_CryptDestroyHash;
        g_realRelease = __imp_CryptReleaseContext;
        ReplaceImport(__imp_CryptAcquireContextW, &RecordAcquire);
        ReplaceImport(__imp_CryptCreateHash, &RecordCreate);
        ReplaceImport(__imp_CryptDestroyHash, &RecordDestroy);
        ReplaceImport(__imp_CryptReleaseContext, &RecordRelease);
    }

    void TearDown() override
    {
        ReplaceImport(__imp_CryptAcquireContextW, g_realAcquire);
        ReplaceImport(__imp_CryptCreateHash, g_realCreate);
        ReplaceImport(__imp_CryptDestroyHash, g_realDestroy);
        ReplaceImport(__imp_CryptReleaseContext, g_realRelease);
    }

    static std::string Kinds()
    {
        std::string kinds;
        for (const HandleEvent& e : g_events)
            kinds += e.kind;
        return kinds;
    }

    // Every handle taken is given back once, by the call that matches it, the
    // hash object before the provider: the whole log is "A", "AR" or "ACDR".
    static void ExpectEachHandleReleasedOnce()
    {
        const std::string kinds = Kinds();
        ASSERT_TRUE(kinds.empty() || kinds == "AR" || kinds == "ACDR") << kinds;
        if (kinds.empty())
            return;
        EXPECT_EQ(g_events.front().flags, DWORD{CRYPT_VERIFYCONTEXT});
        EXPECT_EQ(g_events.back().handle, g_events.front().handle);
        EXPECT_EQ(g_events.back().flags, 0u);
        if (kinds == "ACDR") {
            EXPECT_EQ(g_events[2].handle, g_events[1].handle);
        }
    }

    static bool OpenAs(CryptHashSlot& slot, HashKind kind)
    {
        const HashInfo& info = HashInfoOf(kind);
        return slot.Open(info.providerType, info.algorithm);
    }

    static bool Add(CryptHashSlot& slot, const char* text)
    {
        return slot.AddData(reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text)));
    }
};

struct KnownValue {
    HashKind kind;
    const wchar_t* abc;
};

const KnownValue kAbcValues[] = {
    {HashKind::Md2, L"da853b0d3f88d99b30283a69e6ded6bb"},
    {HashKind::Md4, L"a448017aaf21d8525fc10ae87aa6729d"},
    {HashKind::Md5, L"900150983cd24fb0d6963f7d28e17f72"},
    {HashKind::Sha_1, L"a9993e364706816aba3e25717850c26c9cd0d89d"},
    {HashKind::Sha_256, L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {HashKind::Sha_384, L"cb00753f45a35e8bb5a03d699ac65007272c32ab0eded163"
                        L"1a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
    {HashKind::Sha_512, L"ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
                        L"2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
};

} // namespace

TEST_F(CryptHashSlotTest, EachAlgorithmOfTheListGivesItsKnownValueAndReleasesOnce)
{
    for (const KnownValue& known : kAbcValues) {
        const HashInfo& info = HashInfoOf(known.kind);
        SCOPED_TRACE(info.displayName);
        g_events.clear();
        {
            CryptHashSlot slot;
            ASSERT_TRUE(OpenAs(slot, known.kind));
            EXPECT_TRUE(Add(slot, "a"));
            EXPECT_TRUE(Add(slot, "bc"));
            CString text(L"value:");
            EXPECT_TRUE(slot.AppendHashHex(text, info.digestBytes));
            EXPECT_EQ(text.Str(), std::wstring(L"value:") + known.abc);
            EXPECT_EQ(Kinds(), "AC");
            // A finished hash object takes no more data.
            EXPECT_FALSE(Add(slot, "more"));
        }
        ExpectEachHandleReleasedOnce();
        EXPECT_EQ(Kinds(), "ACDR");
    }
}

TEST_F(CryptHashSlotTest, RefusedAlgorithmReleasesTheProviderWithinOpen)
{
    {
        CryptHashSlot slot;
        // The RSA full provider knows no SHA-2; that is why the list asks for RSA AES.
        EXPECT_FALSE(slot.Open(PROV_RSA_FULL, CALG_SHA_256));
        EXPECT_EQ(Kinds(), "AR");
        EXPECT_TRUE(slot.IsEmpty());
        EXPECT_FALSE(Add(slot, "abc"));
        CString text(L"kept");
        EXPECT_FALSE(slot.AppendHashHex(text, 16));
        EXPECT_EQ(text.Str(), L"kept");
    }
    ExpectEachHandleReleasedOnce();
    EXPECT_EQ(Kinds(), "AR");
}

TEST_F(CryptHashSlotTest, UnavailableProviderTypeTakesNothing)
{
    {
        CryptHashSlot slot;
        EXPECT_FALSE(slot.Open(999, CALG_MD5));
        EXPECT_TRUE(slot.IsEmpty());
    }
    EXPECT_EQ(Kinds(), "");
}

TEST_F(CryptHashSlotTest, EmptySlotRefusesDataAndValue)
{
    {
        CryptHashSlot slot;
        EXPECT_TRUE(slot.IsEmpty());
        EXPECT_FALSE(Add(slot, "abc"));
        CString text;
        EXPECT_FALSE(slot.AppendHashHex(text, 16));
        EXPECT_TRUE(text.IsEmpty());
    }
    EXPECT_EQ(Kinds(), "");
}

TEST_F(CryptHashSlotTest, ValueLongerThanExpectedAppendsNothingAndReleasesOnce)
{
    {
        CryptHashSlot slot;
        ASSERT_TRUE(OpenAs(slot, HashKind::Sha_256));
        EXPECT_TRUE(Add(slot, "abc"));
        CString text(L"kept");
        EXPECT_FALSE(slot.AppendHashHex(text, 16));
        EXPECT_EQ(text.Str(), L"kept");
        EXPECT_TRUE(slot.IsEmpty());
        EXPECT_EQ(Kinds(), "ACDR");
        EXPECT_FALSE(Add(slot, "abc"));
    }
    ExpectEachHandleReleasedOnce();
    EXPECT_EQ(Kinds(), "ACDR");
}
