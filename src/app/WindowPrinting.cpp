// SPDX-License-Identifier: GPL-3.0-or-later
// The window's printing: the print pop-up, both sheets to the printer or, without one, to a PDF.
#include "QXCALC.h"

#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "print/SheetAdvice.h"
#include "report/ReportPrinter.h"

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
    const bool done = printOrSaveBothSheets();
    restorePrintPopup();
    if (done)
        Button3Click();
}

ReportOutput::Sheets TQXCALC::sheets() const
{
    // The advice of the record's latest measurement, as --export-pdf gives it: never the
    // captions, which hold the layout's sample figures until a calculation.
    const SheetAdvice advice = sheetAdvice(m_record->table());
    return {m_record->table(), m_record->secondMonthColumn(), m_record->secondMonth(),
        m_record->dayAfterTable(), advice.label20, advice.label21};
}

void TQXCALC::PrintBothSheets()
{
    m_output.print(sheets());
}

bool TQXCALC::printOrSaveBothSheets()
{
    Panel7->setEnabled(false);
    PictureButton7->setCaption(u"印刷中"_s);
    try {
        if (!ReportPrinter::hasDefaultPrinter())
            return m_output.saveAsPdf(sheets(), now().date());
        PrintBothSheets();
        return true;
    } catch (...) {
        restorePrintPopup();
        throw;
    }
}
