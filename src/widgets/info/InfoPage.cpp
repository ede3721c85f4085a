// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoPage.h"

#include "record/RecordLayout.h"
#include "record/TextGrid.h"

#include <algorithm>

using namespace Qt::StringLiterals;

using RecordLayout::BodyTypeRow;

namespace InfoPage {

QString defaultInfoBase()
{
    return QStringLiteral(PEMIRA_INFO_BASE);
}

QString bundledInfoBase()
{
    return QStringLiteral(PEMIRA_BUNDLED_INFO_BASE);
}

QString bodyTypeText(const TextGrid &record, int todayColumn)
{
    // Columns after today belong to slots that have not happened yet in this run.
    for (int column = std::min(todayColumn, record.columnCount() - 1); column >= 0; --column) {
        const QString text = record.cell(column, BodyTypeRow);
        if (!text.isEmpty())
            return text;
    }
    return QString();
}

QString pageAddress(const QString &base, const QString &bodyType)
{
    return base + u"/pemmira/res/body"_s + bodyType + u".htm"_s;
}

} // namespace InfoPage
