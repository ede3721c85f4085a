// SPDX-License-Identifier: GPL-3.0-or-later
// The two sheets out of the window: printed when there is a printer, otherwise offered as one PDF
// file through a question and a save dialog (both replaceable, so tests answer them).
#pragma once

#include "print/Print01.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

class QWidget;
class TextGrid;

class ReportOutput
{
public:
    struct Sheets
    {
        const TextGrid &table;
        int secondMonthColumn;
        int secondMonth;
        QString dayAfterTable;
        QString advice1, advice2;
    };
    // Empty ask or chooseSaveFile: the platform's question box and save dialog over dialogParent.
    ReportOutput(QWidget *dialogParent, std::function<bool(const QString &question)> ask,
        std::function<QString(const QString &proposedPath)> chooseSaveFile);
    ~ReportOutput();

    void print(const Sheets &sheets);
    // The PDF offer, for a machine without a printer; false when the person declined or
    // cancelled, so nothing was saved.
    bool saveAsPdf(const Sheets &sheets, const QDate &today);
    // The same offer for any sheet: question, then a save dialog at proposedPath, then write.
    bool offerPdf(const QString &question, const QString &proposedPath,
        const std::function<void(const QString &path)> &write);

private:
    TPrint01 &form();

    QWidget *m_parent;
    std::function<bool(const QString &)> m_ask;
    std::function<QString(const QString &)> m_chooseSaveFile;
    std::unique_ptr<TPrint01> m_form;
};
