// String ids of the test-only string table of CStringTest.
#pragma once

#define IDS_TEST_GREETING       1     // English and Korean, takes one "%s"
#define IDS_TEST_PERCENT        2     // English and Korean, holds "%%"
#define IDS_TEST_MISSING        3     // in a block that exists, but not in the table
#define IDS_TEST_LAST_OF_BLOCK  15    // last entry of the first block of sixteen
#define IDS_TEST_FIRST_OF_BLOCK 16    // first entry of the second block
#define IDS_TEST_ENGLISH_ONLY   17    // only in English; the Korean block of 16..31 lacks it
#define IDS_TEST_NO_BLOCK       999   // no block of the table holds it
