#include "sheet/columnmarkers.h"

#include <algorithm>

namespace vk {

ColumnMarkers::ColumnMarkers(int count)
    : m_count(std::clamp(count, 1, kCount))
{
}

void ColumnMarkers::toggle(int index)
{
    if (valid(index))
        m_set[index] = !m_set[index];
}

int ColumnMarkers::step()
{
    const bool wanted = !m_set[m_count - 1];
    for (int i = 0; i < m_count; ++i) {
        if (m_set[i] != wanted) {
            m_set[i] = wanted;
            return i;
        }
    }
    return -1; // unreachable: the last marker always differs from `wanted`
}

} // namespace vk
