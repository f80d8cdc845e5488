#pragma once

#include <QColor>
#include <cstdint>

namespace tarmela {

// A colour as the settings keep it: RGB with red in the lowest byte.
inline QColor settingColour(std::int32_t value)
{
    const auto v = std::uint32_t(value);
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

} // namespace tarmela
