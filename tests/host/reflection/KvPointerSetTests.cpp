#include "testaccess/KvResourceCommonTestAccess.h"

#include <gtest/gtest.h>

#include <vector>

// Pointers a byte apart and a page apart, through many growths of the table: each goes in once,
// and every later insert of it, before and after growths, finds it.
TEST(PointerSet, Insert_EachPointerOnceThroughGrowth)
{
    std::vector<char> bytes(4096 * 40);
    for (size_t stride : {size_t(1), size_t(4096)})
    {
        KvPointerSet set;
        for (size_t offset = 0; offset < bytes.size() && offset / stride < 5000; offset += stride)
        {
            ASSERT_TRUE(set.Insert(&bytes[offset])) << offset;
            ASSERT_FALSE(set.Insert(&bytes[offset])) << offset;
            ASSERT_FALSE(set.Insert(&bytes[offset / 2 / stride * stride])) << offset;
        }
    }
}

// Sets made one after another, and one inside another, reuse the thread's tables: none sees
// pointers another one took.
TEST(PointerSet, Insert_ReusedTablesStartEmpty)
{
    std::vector<char> bytes(5000);
    {
        KvPointerSet first;
        for (char& byte : bytes)
            first.Insert(&byte);
    }
    KvPointerSet outer;
    {
        KvPointerSet inner;
        for (char& byte : bytes)
            ASSERT_TRUE(inner.Insert(&byte));
    }
    for (char& byte : bytes)
        ASSERT_TRUE(outer.Insert(&byte));
}
