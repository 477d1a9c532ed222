#include "sheet/columnmarkers.h"

#include <gtest/gtest.h>

#include <string>

using vk::ColumnMarkers;

namespace {

ColumnMarkers fromPattern(const std::string &bits) // bits[i] == '1': marker i set
{
    ColumnMarkers m;
    for (int i = 0; i < ColumnMarkers::kCount; ++i)
        if (bits[i] == '1')
            m.toggle(i);
    return m;
}

std::string pattern(const ColumnMarkers &m)
{
    std::string s;
    for (int i = 0; i < ColumnMarkers::kCount; ++i)
        s += m.isSet(i) ? '1' : '0';
    return s;
}

TEST(ColumnMarkersTest, KeyboardStepFillsUpwardsThenEmptiesFromTheBottom)
{
    struct Case {
        const char *before;
        int changed;
        const char *after;
    };
    const Case cases[] = {
        {"00000000000000000000", 0, "10000000000000000000"},
        {"11000000000000000000", 2, "11100000000000000000"},
        {"10100000000000000000", 1, "11100000000000000000"}, // a gap left by a click fills first
        {"11111111111111111110", 19, "11111111111111111111"},
        {"11111111111111111111", 0, "01111111111111111111"},
        {"00000000000000000001", 19, "00000000000000000000"}, // only the last set: clear it
        {"00000000000000000000", 0, "10000000000000000000"},
        {"00100000000000000001", 2, "00000000000000000001"},
    };
    for (const Case &c : cases) {
        ColumnMarkers m = fromPattern(c.before);
        EXPECT_EQ(m.step(), c.changed) << c.before;
        EXPECT_EQ(pattern(m), c.after) << c.before;
    }
}

TEST(ColumnMarkersTest, FullCycleOfFortyStepsReturnsToEmpty)
{
    ColumnMarkers m;
    for (int i = 0; i < 2 * ColumnMarkers::kCount; ++i)
        m.step();
    EXPECT_EQ(pattern(m), std::string(20, '0'));
}

TEST(ColumnMarkersTest, ToggleFlipsOneAndIgnoresOutOfRange)
{
    ColumnMarkers m;
    m.toggle(5);
    m.toggle(-1);
    m.toggle(20);
    EXPECT_EQ(pattern(m), "00000100000000000000");
    m.toggle(5);
    EXPECT_EQ(pattern(m), std::string(20, '0'));
    EXPECT_EQ(ColumnMarkers::sheetColumn(0), 40);
    EXPECT_EQ(ColumnMarkers::sheetColumn(19), 21);
}

} // namespace
