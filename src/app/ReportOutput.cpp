// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportOutput.h"

#include "artwork/Artwork.h"
#include "print/SheetPdf.h"
#include "record/TextGrid.h"
#include "report/ReportPrinter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
TPrint01::SheetInput sheetInput(const ReportOutput::Sheets &sheets)
{
    TPrint01::SheetInput input;
    input.secondMonthColumn = sheets.secondMonthColumn;
    input.secondMonth = sheets.secondMonth;
    input.dayAfterTable = sheets.dayAfterTable;
    for (int code = 1; code <= 4; ++code)
        input.moodIcons[code - 1] = moodFace(code, MoodFaceSet::OnWhite);
    return input;
}
} // namespace

ReportOutput::ReportOutput(QWidget *dialogParent, std::function<bool(const QString &)> ask,
    std::function<QString(const QString &)> chooseSaveFile, PageSender sendPage)
    : m_parent(dialogParent)
    , m_ask(std::move(ask))
    , m_chooseSaveFile(std::move(chooseSaveFile))
    , m_sendPage(std::move(sendPage))
{ }

ReportOutput::~ReportOutput()
{
    // A job being handed over is finished, not cut off: half a job may print half a sheet.
    if (m_job.joinable())
        m_job.join();
}

ReportOutput::PageSender ReportOutput::printer() const
{
    return m_sendPage ? m_sendPage : ReportPrinter::defaultPrinterSender();
}

TPrint01 &ReportOutput::form()
{
    // Made on first use: its pictures cost start-up time and most runs never print.
    if (!m_form)
        m_form = std::make_unique<TPrint01>();
    return *m_form;
}

void ReportOutput::print(
    const Sheets &sheets, const PageSender &send, std::function<void(const QString &)> done)
{
    // A sheet without data is reported before anything starts.
    TPrint01::checkPrintable(sheets.table);
    // The job's own form, made here: its pictures come from this thread's artwork.
    auto form = std::make_shared<TPrint01>();
    auto table = std::make_shared<TextGrid>(sheets.table);
    printInBackground(
        send,
        [form, table, input = sheetInput(sheets), advice1 = sheets.advice1,
            advice2 = sheets.advice2](const PageSender &send) {
            form->printBothSheets(*table, input, advice1, advice2, send);
        },
        std::move(done));
}

void ReportOutput::printInBackground(const PageSender &send,
    std::function<void(const PageSender &)> job, std::function<void(const QString &)> done)
{
    if (m_busy)
        throw std::logic_error("a print job is already being handed over");
    if (!send)
        throw std::runtime_error(ReportPrinter::noPrinterMessage().toStdString());
    if (m_job.joinable())
        m_job.join();
    m_busy = true;
    // The parent outlives the worker: this object is its member and joins the worker first.
    m_job = std::thread([this, job = std::move(job), send, done = std::move(done)] {
        QString failure;
        try {
            job(send);
        } catch (const std::exception &error) {
            failure = QString::fromUtf8(error.what());
        } catch (...) {
            failure = u"印刷できませんでした。"_s;
        }
        // Queued to the parent: dropped with it when the window goes before it is delivered.
        QMetaObject::invokeMethod(
            m_parent,
            [this, done, failure] {
                if (m_job.joinable())
                    m_job.join();
                m_busy = false;
                done(failure);
            },
            Qt::QueuedConnection);
    });
}

bool ReportOutput::saveAsPdf(const Sheets &sheets, const QDate &today)
{
    // A sheet without data is reported before anything is asked.
    TPrint01::checkPrintable(sheets.table);
    const QString proposed = SheetPdf::proposedPath(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), sheets.table, today);
    return offerPdf(SheetPdf::offerQuestion(), proposed, [&](const QString &path) {
        SheetPdf::write(
            form(), sheets.table, sheetInput(sheets), sheets.advice1, sheets.advice2, path);
    });
}

bool ReportOutput::offerPdf(const QString &question, const QString &proposed,
    const std::function<void(const QString &path)> &write)
{
    bool yes = false;
    if (m_ask) {
        yes = m_ask(question);
    } else {
        QMessageBox box(
            QMessageBox::Question, u"ペミラ"_s, question, QMessageBox::NoButton, m_parent);
        QPushButton *save = box.addButton(u"保存する"_s, QMessageBox::AcceptRole);
        box.addButton(u"保存しない"_s, QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.exec();
        yes = box.clickedButton() == save;
    }
    if (!yes)
        return false;

    const QString path = m_chooseSaveFile
        ? m_chooseSaveFile(proposed)
        : QFileDialog::getSaveFileName(
            m_parent, u"PDFファイルに保存"_s, proposed, u"PDFファイル (*.pdf)"_s);
    if (path.isEmpty())
        return false;
    write(path);
    return true;
}
