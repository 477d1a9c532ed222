#pragma once

#include <array>

namespace vk {

// The 20 markers above the factors; marker i stands over sheet column 40 - i
// (marker 0 over the units). Each is set or clear.
class ColumnMarkers
{
public:
    static constexpr int kCount = 20;

    bool isSet(int index) const { return valid(index) && m_set[index]; }
    void clearAll() { m_set.fill(false); }
    // A click: flips one marker. Out-of-range indices are ignored.
    void toggle(int index);
    // The keyboard step. While the last marker is clear it sets the clear
    // marker with the lowest index; once it is set, it clears the set marker
    // with the lowest index. Returns the marker it changed.
    int step();

    static bool valid(int index) { return index >= 0 && index < kCount; }
    static int sheetColumn(int index) { return 40 - index; }

private:
    std::array<bool, kCount> m_set{};
};

} // namespace vk
