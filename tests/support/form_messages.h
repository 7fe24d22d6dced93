#pragma once

#include "dialog/data_exchange.h"

#include <QString>

// The form's two validation messages, as the message boxes show them.
inline QString OutOfRange(std::uint32_t min, std::uint32_t max)
{
    return QString::fromStdString(OutOfRangeMessage(min, max));
}

inline QString NotANumber()
{
    return QString::fromStdString(NotANumberMessage());
}
