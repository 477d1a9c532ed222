#include "sheet/columnmarkers.h"

namespace vk {

void ColumnMarkers::toggle(int index)
{
    if (valid(index))
        m_set[index] = !m_set[index];
}

int ColumnMarkers::step()
{
    const bool wanted = !m_set[kCount - 1];
    for (int i = 0; i < kCount; ++i) {
        if (m_set[i] != wanted) {
            m_set[i] = wanted;
            return i;
        }
    }
    return -1; // unreachable: the last marker always differs from `wanted`
}

} // namespace vk
