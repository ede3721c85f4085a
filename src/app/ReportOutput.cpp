// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportOutput.h"

#include "artwork/Artwork.h"
#include "print/SheetPdf.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

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
    std::function<QString(const QString &)> chooseSaveFile)
    : m_parent(dialogParent)
    , m_ask(std::move(ask))
    , m_chooseSaveFile(std::move(chooseSaveFile))
{ }

ReportOutput::~ReportOutput() = default;

TPrint01 &ReportOutput::form()
{
    // Made on first use: its pictures cost start-up time and most runs never print.
    if (!m_form)
        m_form = std::make_unique<TPrint01>();
    return *m_form;
}

void ReportOutput::print(const Sheets &sheets)
{
    form().printBothSheets(sheets.table, sheetInput(sheets), sheets.advice1, sheets.advice2);
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
