// SPDX-License-Identifier: GPL-3.0-or-later
// The window's printing: the print pop-up, both sheets to the printer or, without one, to a PDF.
#include "QXCALC.h"

#include "ErrorReport.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "print/SheetAdvice.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

void TQXCALC::PictureButton6Click()
{
    m_popups->setInputsEnabled(false);
    m_popups->show(Popup::Print);
}

void TQXCALC::Button3Click()
{
    m_popups->hide(Popup::Print);
    m_popups->setInputsEnabled(true);
}

void TQXCALC::restorePrintPopup()
{
    Panel7->setEnabled(true);
    PictureButton7->setCaption(u"印刷開始"_s);
}

void TQXCALC::PictureButton7Click()
{
    printOrSaveBothSheets([this] { Button3Click(); });
}

ReportOutput::Sheets TQXCALC::sheets() const
{
    // The advice of the record's latest measurement, as --export-pdf gives it: never the
    // captions, which hold the layout's sample figures until a calculation.
    const SheetAdvice advice = sheetAdvice(m_record->table());
    return {m_record->table(), m_record->secondMonthColumn(), m_record->secondMonth(),
        m_record->dayAfterTable(), advice.label20, advice.label21};
}

void TQXCALC::printOrSaveBothSheets(const std::function<void()> &afterwards)
{
    // A key or a second click while the jobs are handed over starts nothing more.
    if (m_output.busy())
        return;
    Panel7->setEnabled(false);
    PictureButton7->setCaption(u"印刷中"_s);
    // Before clearing, the question's answers wait for the jobs too.
    const bool answers[] = {Button17->isEnabled(), Button18->isEnabled()};
    Button17->setEnabled(false);
    Button18->setEnabled(false);
    const auto finished = [this, answers] {
        restorePrintPopup();
        Button17->setEnabled(answers[0]);
        Button18->setEnabled(answers[1]);
    };
    try {
        // Asked once: each question to the print system takes milliseconds.
        const ReportOutput::PageSender printer = m_output.printer();
        if (!printer) {
            const bool saved = m_output.saveAsPdf(sheets(), now().date());
            finished();
            if (saved)
                afterwards();
            return;
        }
        m_output.print(sheets(), printer, [finished, afterwards](const QString &failure) {
            finished();
            if (!failure.isEmpty()) {
                ErrorReport::show(failure);
                return;
            }
            afterwards();
        });
    } catch (...) {
        finished();
        throw;
    }
}
