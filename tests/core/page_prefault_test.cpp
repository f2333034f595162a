#include "core/page_prefault.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <vector>

namespace {

constexpr std::size_t kMB = 1024 * 1024;

// Prefaulting only maps pages: whatever the range (ends inside pages, under a megabyte, empty), what was
// written reads back, fresh pages read as zeros and take writes.
TEST(PrefaultForWriting, LeavesContentsAsTheyAre) {
    std::vector<unsigned char> written(3 * kMB + 123);
    for (std::size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<unsigned char>(i * 7 + 1);
    const std::vector<unsigned char> expected = written;
    const struct {
        std::size_t from, length;
    } ranges[] = {{0, written.size()}, {1, written.size() - 2}, {4095, kMB + 1}, {10, 100}, {0, 0}};
    for (const auto& range : ranges)
        PrefaultForWriting(written.data() + range.from, range.length);
    EXPECT_EQ(written, expected);

    const std::size_t size = 4 * kMB;
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    auto* fresh = static_cast<unsigned char*>(mapped);
    fresh[0] = 9;
    PrefaultForWriting(fresh + 3, size - 3);
    std::size_t nonZero = 0;
    for (std::size_t i = 1; i < size; ++i)
        nonZero += fresh[i] != 0;
    EXPECT_EQ(fresh[0], 9);
    EXPECT_EQ(nonZero, 0u);
    fresh[size - 1] = 5;
    EXPECT_EQ(fresh[size - 1], 5);
    munmap(mapped, size);
}

} // namespace
