#include <gtest/gtest.h>

#include "common/memory.h"

static bool all_zero(const unsigned char* bytes, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

TEST(Memory, BlocksAreZeroFilledAndKeepTheirContentsWhenGrown) {
    unsigned char* block = (unsigned char*)mem_alloc(4096);
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(all_zero(block, 0, 4096));
    for (int i = 0; i < 4096; ++i) block[i] = (unsigned char)(i * 7 + 1);

    unsigned char* grown = (unsigned char*)mem_realloc(block, 1 << 20);
    ASSERT_NE(nullptr, grown);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ((unsigned char)(i * 7 + 1), grown[i]) << i;
    EXPECT_TRUE(all_zero(grown, 4096, 1 << 20)) << "the new tail is zero";
    mem_free(grown);

    unsigned char* fresh = (unsigned char*)mem_realloc(nullptr, 100);
    ASSERT_NE(nullptr, fresh) << "no block behaves as mem_alloc";
    EXPECT_TRUE(all_zero(fresh, 0, 100));
    mem_free(fresh);
    mem_free(nullptr);
}

TEST(Memory, FailedGrowthLeavesTheOldBlockValid) {
    unsigned char* block = (unsigned char*)mem_alloc(16);
    ASSERT_NE(nullptr, block);
    block[3] = 42;
    void* huge = mem_realloc(block, (size_t)1 << 62);
    EXPECT_EQ(nullptr, huge);
    EXPECT_EQ(42, block[3]);
    mem_free(block);
}
