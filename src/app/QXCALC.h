// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: it owns the controls, wires the handlers and redraws; the rules live below it.
// src/model/assessment: inputs, keypad ranges, judgement and their texts. src/model/record: the
// month (MonthRecord, with RecordKeeper its file side), calendar, cells and graph painting.
// src/model/print, src/model/report: the printed sheets and their advice line. src/widgets: the
// drawn controls and the information page. In src/app: WindowControls builds and dresses the
// controls from WindowLayout; Popups holds the pop-up table and the open question; ReportOutput
// prints or saves the sheets; KeypadSession remembers the field the keypad fills; KeypadKeys,
// EnterKey and WindowKeyboard serve the keys; AccessibleWindow speaks for the window.
#pragma once

#include "KeypadSession.h"
#include "Popups.h"
#include "ReportOutput.h"
#include "assessment/Assessment.h"
#include "history/RecordHistory.h"
#include "record/MonthRecord.h"
#include "record/RecordLayout.h"
#include "record/TextGrid.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

class QPushButton;
class TFrame1;
class InfoBrowserHost;
class TLabel;
class TPanel;
class TPictureButton;
class TRightEdit;
class WindowKeyboard;
class KeypadKeys;
class EnterKey;
class HistoryWindow;

class TQXCALC : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQXCALC)
public:
    struct Options
    {
        QString appFolder;                // empty: the executable's folder
        QString recordFile;               // empty: settemp.dat in appFolder
        QString recordFolderToMake;       // made by the first save; empty: it must exist
        std::function<QDateTime()> clock; // empty: the local clock
        QString infoBase;                 // empty: the built-in information site
        // The offer to save the sheets as PDF when there is no printer; empty: the platform's
        // question box and save dialog. ask returns the answer, chooseSaveFile the chosen path
        // (empty: cancelled).
        std::function<bool(const QString &question)> ask;
        std::function<QString(const QString &proposedPath)> chooseSaveFile;
        // Stands for a printer, receiving each page on the print worker; empty: the default
        // printer.
        ReportOutput::PageSender sendPage;
    };

    explicit TQXCALC(const Options &options = {}, QWidget *parent = nullptr);
    ~TQXCALC() override;

    // Read-only views for tests and benchmarks.
    const TextGrid &recordTable() const { return m_record->table(); }
    QString appFolder() const { return AppFolder; }
    QString recordFile() const { return m_record->path(); }
    int todayColumn() const { return m_record->todayColumn(); }
    int eveningSlot() const { return m_record->eveningSlot(); }
    // The month the window shows; a longer memory listens to it.
    MonthRecord &monthRecord() { return *m_record; }
    HistoryWindow *historyWindow() const;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    enum class Graph { Weight, FatWeight };

    template<typename T> T *control(const char *name) const
    {
        return qobject_cast<T *>(m_controls.value(QString::fromLatin1(name)));
    }
    template<typename T>
    void findAll(std::initializer_list<std::pair<T **, const char *>> members) const;
    void findControls();
    void connectHandlers();

    // Start-up and window
    void FormCreate();
    void Panel13Click();
    void setClientHeight(int height);

    // Inputs
    void PictureButton1Click();
    void PictureButton2Click();
    void RightEdit1Change();
    template<typename T, typename Read> void fieldChange(TRightEdit *field, T &value, Read read);
    void RightEdit2Change();
    void RightEdit3Change();
    void RightEdit4Change();
    void UpdateCalculateButton();
    void ResetInputs();
    void PictureButton4Click() { ResetInputs(); }
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void askQuestion(Question question, const QString &text);
    void closeKeypad(const std::function<void()> &beforeHiding = {});

    // Keypad
    void openKeypad(int field);
    void RightEdit1Click() { openKeypad(1); }
    void RightEdit2Click() { openKeypad(2); }
    void RightEdit3Click() { openKeypad(3); }
    void RightEdit4Click() { openKeypad(4); }
    void keypadAppend(QChar key) { m_keypad.append(key); }
    void Button15Click() { m_keypad.clear(); }
    void Button2Click();

    // Assessment
    Measurements measurements() const;
    void PictureButton3Click();
    void RunAssessment();
    void PictureButton5Click();
    void Button1Click();

    // Record
    void StartupLoad();
    void LocateToday();
    void RelocateToday();
    void RestoreProfile(const Profile &profile);
    void ReconcileRecord();
    void adoptRecord();
    void SaveRecord() { m_record->save(); }
    void finishMeasurement();
    void PictureButton10Click();
    void setClearingControlsEnabled(bool enabled);
    void DeleteRecordAndClose();

    // Graphs and mood
    void DrawBackground();
    void DrawWeightGraph();
    void DrawFatGraph();
    void drawGraph(int row);
    void FillDayHeader();
    void PictureButton9Click();
    void moodPress(const QString &code) { m_record->setMood(code.toInt()); }
    void PictureButton11Click();

    // Printing
    void PictureButton6Click();
    void Button3Click();
    void PictureButton7Click();
    ReportOutput::Sheets sheets() const;
    // Shows the print pop-up busy and prints both sheets, or without a printer offers to save
    // them as one PDF file; false when the person declined or cancelled. The pop-up is restored
    // only when printing failed.
    // Prints both sheets, or offers them as a PDF without a printer; afterwards runs once they
    // are handed over or saved, not when the person declined or a failure was reported.
    void printOrSaveBothSheets(const std::function<void()> &afterwards);
    void restorePrintPopup();

    // History: every measurement also kept beside the record, shown by its own window.
    void keepInHistory(const RecordedMeasurement &m);
    void openHistory();
    void offerNewMonth();

    // Information page
    void PictureButton8Click();
    void WebBrowser1NavigateComplete2();

    QDateTime now() const;

    Options m_options;
    QHash<QString, QWidget *> m_controls;
    WindowKeyboard *m_keyboard = nullptr;
    KeypadKeys *m_keypadKeys = nullptr;
    EnterKey *m_enterKey = nullptr;
    std::optional<Popups> m_popups;
    std::optional<MonthRecord> m_record;
    std::optional<RecordHistory> m_history;
    QPointer<HistoryWindow> m_historyWindow;
    bool NewMonthOffered = false; // a used-up record offers a new month once per run
    ReportOutput m_output;
    KeypadSession m_keypad {{}};

    // Named components the handlers use most.
    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel6 = nullptr, *Panel7 = nullptr,
           *Panel9 = nullptr, *Panel13 = nullptr, *Panel14 = nullptr, *Panel17 = nullptr;
    TPictureButton *PictureButton1 = nullptr, *PictureButton2 = nullptr, *PictureButton3 = nullptr,
                   *PictureButton4 = nullptr, *PictureButton5 = nullptr, *PictureButton6 = nullptr,
                   *PictureButton7 = nullptr, *PictureButton8 = nullptr, *PictureButton9 = nullptr,
                   *PictureButton10 = nullptr;
    TRightEdit *RightEdit1 = nullptr, *RightEdit2 = nullptr, *RightEdit3 = nullptr,
               *RightEdit4 = nullptr;
    TLabel *Label9 = nullptr, *Label10 = nullptr, *Label12 = nullptr, *Label14 = nullptr,
           *Label15 = nullptr, *Label18 = nullptr, *Label19 = nullptr, *Label20 = nullptr,
           *Label21 = nullptr;
    QPushButton *Button17 = nullptr, *Button18 = nullptr;
    TFrame1 *Frame11 = nullptr;
    InfoBrowserHost *WebBrowser1 = nullptr;

    // Window state, shown by the captions but never read back from them.
    bool Unfolded = false;             // Panel14: the graph area shown
    Graph ChosenGraph = Graph::Weight; // PictureButton9: the graph it last chose
    bool InfoShown = false;            // PictureButton8: the information page over the graph

    // Measurement state
    qint32 SexCode = 0;
    qint32 Age = 0;
    float HeightCm = 0;
    float WeightKg = 0;
    float BodyFatPercent = 0;
    float Bmi = 0;

    QString AppFolder;
};
