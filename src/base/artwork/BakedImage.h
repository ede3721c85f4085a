// SPDX-License-Identifier: GPL-3.0-or-later
// A picture rendered from its drawing at build time: premultiplied ARGB32 pixels in read-only
// memory, shown without decoding or rendering anything at run time.
#pragma once

#include <QtGlobal>

struct BakedImage
{
    int width;
    int height;
    const quint32 *pixels;
};
