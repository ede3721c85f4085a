// SPDX-License-Identifier: GPL-3.0-or-later
// Colour numbers as the window description stores them: red in the low byte, blue in the high
// byte (0xBBGGRR). Every colour number of the program goes through this one conversion.
#pragma once

#include <QColor>

constexpr QRgb bgrToRgb(quint32 value)
{
    return qRgb(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

inline QColor bgrColor(quint32 value)
{
    return QColor(bgrToRgb(value));
}
