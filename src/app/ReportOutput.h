// SPDX-License-Identifier: GPL-3.0-or-later
// The two sheets out of the window: printed when there is a printer, otherwise offered as one PDF
// file through a question and a save dialog (both replaceable, so tests answer them). Printing
// runs on a worker thread: handing a job to the print system takes longer than a click may hold
// the window.
#pragma once

#include "print/Print01.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

class QWidget;
class ReportPage;
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
    // One filled page to a printer, called on the worker thread.
    using PageSender = std::function<void(const ReportPage &page, const QString &documentName)>;
    // Empty ask or chooseSaveFile: the platform's question box and save dialog over dialogParent.
    // A sendPage stands for a printer (tests); empty: the system's default printer.
    ReportOutput(QWidget *dialogParent, std::function<bool(const QString &question)> ask,
        std::function<QString(const QString &proposedPath)> chooseSaveFile,
        PageSender sendPage = {});
    // Waits for a job still being handed over.
    ~ReportOutput();

    // Where pages go to be printed, asked of the print system anew at each call (milliseconds):
    // once per print. Empty when there is no printer.
    PageSender printer() const;
    // A job is being prepared or handed over; no other may start.
    bool busy() const { return m_busy; }
    // Both sheets, one job each, handed to send on a worker thread. Throws before anything
    // starts when a sheet cannot be printed. done runs on dialogParent's thread afterwards, with
    // the failure's text or an empty one; it never runs once dialogParent is gone.
    void print(const Sheets &sheets, const PageSender &send,
        std::function<void(const QString &failure)> done);
    // Any pages: job runs on the worker with send, done as above.
    void printInBackground(const PageSender &send, std::function<void(const PageSender &send)> job,
        std::function<void(const QString &failure)> done);
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
    PageSender m_sendPage;
    std::thread m_job;
    bool m_busy = false;
};
