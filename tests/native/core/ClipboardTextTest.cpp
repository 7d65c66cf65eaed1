#include "ClipboardText.h"

#include <gtest/gtest.h>

namespace {
const ListRow kCrc = {L"CRC-32", L"cbf43926"};
const ListRow kMd5 = {L"MD5", L"900150983cd24fb0d6963f7d28e17f72"};
const ListRow kSha1 = {L"SHA-1", L"a9993e364706816aba3e25717850c26c9cd0d89d"};
const ListRow kFirst = {L"a.txt", L"MD5", L"00ff", L"O"};
const ListRow kSecond = {L"b c.txt", L"MD5", L"00FF", L"O"};
}

TEST(BuildClipboardText, ValuesOnly)
{
    EXPECT_EQ(BuildClipboardText({kCrc}, false, 1), L"cbf43926") << "the last TAB is trimmed";
    EXPECT_EQ(BuildClipboardText({kCrc, kMd5, kSha1}, false, 1),
              L"cbf43926\t\r\n900150983cd24fb0d6963f7d28e17f72\t\r\na9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(BuildClipboardText({kFirst, kSecond}, false, 2), L"00ff\t\r\n00FF") << "values, not verdicts";
}

TEST(BuildClipboardText, NamesAndValues)
{
    EXPECT_EQ(BuildClipboardText({kCrc, kMd5}, true, 1),
              L"CRC-32\tcbf43926\r\nMD5\t900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(BuildClipboardText({kFirst, kSecond}, true, 2), L"a.txt\tMD5\t00ff\tO\r\nb c.txt\tMD5\t00FF\tO");
}

TEST(BuildClipboardText, TrimsOnlyTheEndsOfTheWhole)
{
    const ListRow emptyValue = {L"MD2", L""};
    EXPECT_EQ(BuildClipboardText({emptyValue, kCrc}, false, 1), L"cbf43926") << "leading TAB, CR LF trimmed";
    EXPECT_EQ(BuildClipboardText({kCrc, emptyValue}, false, 1), L"cbf43926");
    EXPECT_EQ(BuildClipboardText({{L" x ", L" v "}}, true, 1), L"x \t v");
    EXPECT_EQ(BuildClipboardText({}, false, 1), L"");
}
