#pragma once

#include <array>

namespace vk {

// The markers above the factors, one over each factor column: marker i
// stands over sheet column 40 - i (marker 0 over the units). Each is set or
// clear.
class ColumnMarkers
{
public:
    // The most markers a sheet has: one per digit of 20-digit factors.
    static constexpr int kCount = 20;

    // `count` markers, for factors of that many digits (1 to kCount).
    explicit ColumnMarkers(int count = kCount);

    int count() const { return m_count; }
    bool isSet(int index) const { return valid(index) && m_set[index]; }
    void clearAll() { m_set.fill(false); }
    // A click: flips one marker. Out-of-range indices are ignored.
    void toggle(int index);
    // The keyboard step. While the last marker is clear it sets the clear
    // marker with the lowest index; once it is set, it clears the set marker
    // with the lowest index. Returns the marker it changed.
    int step();

    bool valid(int index) const { return index >= 0 && index < m_count; }
    static int sheetColumn(int index) { return 40 - index; }

private:
    int m_count;
    std::array<bool, kCount> m_set{};
};

} // namespace vk
