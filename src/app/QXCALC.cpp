// SPDX-License-Identifier: GPL-3.0-or-later
#include "QXCALC.h"

#include "AccessibleWindow.h"
#include "ErrorReport.h"
#include "Frame1.h"
#include "HistoryWindow.h"
#include "RecordLocation.h"
#include "WindowControls.h"
#include "WindowLayout.h"
#include "assessment/Assessment.h"
#include "assessment/InputRules.h"
#include "artwork/Artwork.h"
#include "colors/BgrColor.h"
#include "fonts/Fonts.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "controls/RightEdit.h"
#include "info/InfoBrowserHost.h"
#include "info/InfoPage.h"
#include "record/DayHeader.h"
#include "record/GraphPainter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QColor layoutColour(qint64 colour)
{
    return bgrColor(quint32(colour));
}

} // namespace

TQXCALC::TQXCALC(const Options &options, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_options(options)
    , m_output(this, options.ask, options.chooseSaveFile, options.sendPage)
{
    installAccessibleFactory();
    setObjectName(u"QXCALC"_s);
    setWindowTitle(u"ペミラ"_s);
    setWindowIcon(applicationIcon());
    setFont(gothicFont(12));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    m_controls = createWindowControls(this);
    findControls();
    m_keypad = KeypadSession({RightEdit1, RightEdit2, RightEdit3, RightEdit4});
    m_popups.emplace(
        this, [this](const char *name) { return m_controls.value(QString::fromLatin1(name)); });
    connectHandlers();
    FormCreate();
}

QDateTime TQXCALC::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentDateTime();
}

// ---- Start-up and window -------------------------------------------------------------------

void TQXCALC::FormCreate()
{
    setClientHeight(WindowLayout::FoldedHeight);
    // The pop-ups were created at their start places.
    ResetInputs();
    AppFolder = appFolderFor(
        m_options.appFolder, m_options.recordFile, QCoreApplication::applicationDirPath());
    m_record.emplace(
        m_options.recordFile.isEmpty() ? recordFilePath(AppFolder) : m_options.recordFile,
        m_options.recordFolderToMake, [this] { return now(); });
    m_history.emplace(m_record->path());
    m_record->addListener([this](const RecordedMeasurement &m) { keepInHistory(m); });
    DrawBackground();
    StartupLoad();
    FillDayHeader();
    LocateToday();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center()
            - QPoint(WindowLayout::ClientWidth / 2, WindowLayout::FoldedHeight / 2));
}

void TQXCALC::setClientHeight(int height)
{
    setFixedSize(WindowLayout::ClientWidth, height);
}

void TQXCALC::Panel13Click()
{
    Unfolded = !Unfolded;
    setClientHeight(Unfolded ? WindowLayout::UnfoldedHeight : WindowLayout::FoldedHeight);
    Panel14->setCaption(Unfolded ? u"▲"_s : u"▼"_s);
}

// ---- Inputs --------------------------------------------------------------------------------

void TQXCALC::PictureButton1Click()
{
    SexCode = 1;
    showSex(PictureButton1, PictureButton2, 1);
    UpdateCalculateButton();
}

void TQXCALC::PictureButton2Click()
{
    SexCode = 2;
    showSex(PictureButton1, PictureButton2, 2);
    UpdateCalculateButton();
}

template<typename T, typename Read>
void TQXCALC::fieldChange(TRightEdit *field, T &value, Read read)
{
    const QString text = field->text();
    if (!text.isEmpty()) {
        const std::optional<T> v = read(text);
        if (!v) {
            // An overlong entry loses its last character, so the value always equals the field;
            // the nested change handling has run UpdateCalculateButton.
            field->setText(text.left(text.size() - 1));
            field->setCursorPosition(field->text().size());
            return;
        }
        value = *v;
    }
    UpdateCalculateButton();
}

void TQXCALC::RightEdit1Change()
{
    fieldChange(RightEdit1, Age, InputRules::readAgeField);
}

void TQXCALC::RightEdit2Change()
{
    fieldChange(RightEdit2, HeightCm, InputRules::readDecimalField);
}

void TQXCALC::RightEdit3Change()
{
    fieldChange(RightEdit3, WeightKg, InputRules::readDecimalField);
}

void TQXCALC::RightEdit4Change()
{
    fieldChange(RightEdit4, BodyFatPercent, InputRules::readDecimalField);
}

void TQXCALC::UpdateCalculateButton()
{
    const bool ready = InputRules::canCalculate(
        SexCode, {RightEdit1->text(), RightEdit2->text(), RightEdit3->text(), RightEdit4->text()});
    PictureButton3->setEnabled(ready);
    PictureButton3->setColor(ready
            ? bgrColor(WindowLayout::CalculateReadyColour)
            : layoutColour(WindowLayout::row(WindowLayout::CalculateButton).colour));
}

void TQXCALC::ResetInputs()
{
    SexCode = 0;
    Age = 0;
    HeightCm = WeightKg = BodyFatPercent = Bmi = 0;
    showSex(PictureButton1, PictureButton2, 0);
    for (TRightEdit *edit : {RightEdit1, RightEdit2, RightEdit3, RightEdit4})
        edit->setText(QString());
    Panel2->setCaption(QString());
    Label9->setCaption(u"--.-"_s);
    Label10->setCaption(u"----"_s);
    Label12->setCaption(u"--.-"_s);
    Label14->setCaption(u"--.-"_s);
    showFigure(m_controls, 1, QString());
    Label15->show();
    UpdateCalculateButton();
    PictureButton5->setEnabled(false);
}

void TQXCALC::closeKeypad(const std::function<void()> &beforeHiding)
{
    m_popups->setInputsEnabled(true);
    m_keypad.close();
    if (beforeHiding)
        beforeHiding();
    m_popups->hide(Popup::Keypad);
}

void TQXCALC::askQuestion(Question question, const QString &text)
{
    m_popups->ask(question);
    Label18->setCaption(text);
}

void TQXCALC::Button16Click()
{
    Button17->show();
    Button18->setText(u"本当だってば"_s);
    TRightEdit *edit = m_keypad.edit();
    if (!edit)
        return;
    const float kept = m_keypad.field() == 2 ? HeightCm
        : m_keypad.field() == 3              ? WeightKg
                                             : BodyFatPercent;
    const InputRules::RangeCheck check
        = InputRules::checkRange(m_keypad.field(), edit->text(), Age, kept);
    switch (check.verdict) {
    case InputRules::RangeVerdict::Empty:
        return;
    case InputRules::RangeVerdict::Under15:
        askQuestion(Question::Under15, check.message);
        Button17->hide();
        Button18->setText(u"了 解"_s);
        Panel9->setEnabled(false);
        m_popups->show(Popup::Question);
        return;
    case InputRules::RangeVerdict::Question:
        askQuestion(Question::Range, check.message);
        Panel9->setEnabled(false);
        m_popups->show(Popup::Question);
        return;
    case InputRules::RangeVerdict::Accepted:
        closeKeypad();
        return;
    }
}

void TQXCALC::Button18Click()
{
    switch (m_popups->question()) {
    case Question::Clear:
        askQuestion(Question::PrintBeforeClear, u"消去前にグラフ印刷しますか？"_s);
        Button17->setText(u"直ちに終了"_s);
        Button18->setText(u"印刷して終了"_s);
        return;
    case Question::PrintBeforeClear:
        // The record goes only once its sheets are handed to the printer or completely in the
        // file.
        printOrSaveBothSheets([this] { DeleteRecordAndClose(); });
        return;
    case Question::Range:
        break;
    case Question::Under15:
        ResetInputs();
        break;
    }
    Panel9->setEnabled(true);
    m_popups->hide(Popup::Question);
    closeKeypad();
}

void TQXCALC::Button17Click()
{
    switch (m_popups->question()) {
    case Question::Clear:
        Button18->setText(u"本当だってば"_s);
        setClearingControlsEnabled(true);
        m_popups->hide(Popup::Question);
        return;
    case Question::PrintBeforeClear:
        DeleteRecordAndClose();
        return;
    case Question::Range:
    case Question::Under15:
        break;
    }
    Panel9->setEnabled(true);
    m_keypad.clear();
    m_popups->hide(Popup::Question);
}

// ---- Keypad --------------------------------------------------------------------------------

void TQXCALC::openKeypad(int field)
{
    m_popups->setInputsEnabled(false);
    m_keypad.open(field);
    Label19->setCaption(InputRules::keypadUnit(field));
    m_popups->show(Popup::Keypad);
    // The clear button cannot take over the confirmation pop-up while the keypad is open.
}

void TQXCALC::Button2Click()
{
    closeKeypad([this] { m_keypad.restore(); });
}

// ---- Assessment ----------------------------------------------------------------------------

Measurements TQXCALC::measurements() const
{
    return Measurements {SexCode, Age, HeightCm, WeightKg, BodyFatPercent};
}

void TQXCALC::PictureButton3Click()
{
    // Judged before anything is written: a height of 0 from a damaged record stops here and
    // leaves the inputs and the record as they were.
    assess(measurements());

    RelocateToday();
    if (m_record->usedUp() && !NewMonthOffered)
        offerNewMonth();
    m_popups->setAvailable(true, true);
    PictureButton5->setEnabled(true);
    Panel6->setEnabled(true);
    m_record->recordMeasurement(measurements());
    if (m_record->eveningSlot() == 1 && !m_record->usedUp()) {
        drawMoodButtons(m_controls);
        m_popups->show(Popup::Mood);
        m_popups->setInputsEnabled(false);
        return;
    }
    RunAssessment();
    if (!m_record->usedUp())
        finishMeasurement();
}

void TQXCALC::RunAssessment()
{
    const Assessment result = assess(measurements());
    Bmi = result.bmi;
    Label9->setCaption(result.bmiText);
    Label10->setCaption(result.bmrText);

    if (result.bodyType != 0)
        Panel2->setCaption(result.bodyTypeCaption);
    showFigure(m_controls, result.bodyType != 0 ? result.figure : 0, result.bodyTypeCaption);
    Label12->setCaption(result.fatWeightText + u"kg"_s);
    if (result.excessShown)
        Label14->setCaption(result.excessLabel);
    Label15->setVisible(result.excessUnitShown);
    Label20->setCaption(result.advice1);
    Label21->setCaption(result.advice2);
}

void TQXCALC::PictureButton5Click()
{
    m_popups->setInputsEnabled(false);
    m_popups->show(Popup::Diet);
}

void TQXCALC::Button1Click()
{
    m_popups->hide(Popup::Diet);
    m_popups->setInputsEnabled(true);
}

// ---- Record --------------------------------------------------------------------------------

void TQXCALC::StartupLoad()
{
    if (const std::optional<Profile> profile = m_record->load()) {
        RestoreProfile(*profile);
        DrawWeightGraph();
        m_popups->setAvailable(true, true);
        return;
    }
    // A record that held something is kept aside before the first measurement could replace it.
    if (m_record->damagedAtStart()) {
        // Once the window is up: building it writes nothing, so a start that gives way to a
        // program already running on this record leaves the folder as it was.
        QTimer::singleShot(0, this,
            [this] { ErrorReport::guard([this] { ErrorReport::show(m_record->keepAside()); }); });
    }
}

void TQXCALC::LocateToday()
{
    setWindowTitle(m_record->today().caption);
}

void TQXCALC::RelocateToday()
{
    const MonthRecord::Relocated relocated = m_record->relocate();
    if (relocated == MonthRecord::Relocated::LaidOutAgain)
        FillDayHeader();
    if (relocated != MonthRecord::Relocated::Same)
        LocateToday();
}

void TQXCALC::RestoreProfile(const Profile &profile)
{
    SexCode = profile.sexCode;
    if (SexCode == 1 || SexCode == 2)
        showSex(PictureButton1, PictureButton2, SexCode);
    Age = profile.age;
    RightEdit1->setText(profile.ageText);
    HeightCm = profile.heightCm;
    RightEdit2->setText(profile.heightText);
}

void TQXCALC::ReconcileRecord()
{
    if (m_record->reconcile() != RecordKeeper::Reconciled::Replaced)
        return;
    adoptRecord();
    throw std::runtime_error(m_record->replacedNotice().toStdString());
}

void TQXCALC::adoptRecord()
{
    FillDayHeader();
    LocateToday();
    DrawBackground();
    DrawWeightGraph();
}

void TQXCALC::finishMeasurement()
{
    ReconcileRecord();
    DrawBackground();
    DrawWeightGraph();
    SaveRecord();
}

void TQXCALC::keepInHistory(const RecordedMeasurement &m)
{
    m_history->record(historyEntry(m_record->table(), m.column, m.slot.day, m.measuredAt.time()),
        m_record->table(), m.measuredAt.date());
    if (m_historyWindow && m_historyWindow->isVisible())
        m_historyWindow->reload();
}

void TQXCALC::offerNewMonth()
{
    NewMonthOffered = true;
    const QString question = newMonthQuestion();
    if (!(m_options.ask ? m_options.ask(question)
                        : QMessageBox::question(this, u"ペミラ"_s, question) == QMessageBox::Yes))
        return;
    // The finished month's measurements reach the history before its table is given up.
    m_history->keepRecord(m_record->table(), now().date());
    m_record->beginNewMonth();
    adoptRecord();
}

HistoryWindow *TQXCALC::historyWindow() const
{
    return m_historyWindow;
}

void TQXCALC::openHistory()
{
    if (!m_historyWindow) {
        HistoryWindow::Options options;
        options.recordFile = m_record->path();
        options.table = &m_record->table();
        options.clock = m_options.clock;
        options.ask = m_options.ask;
        options.chooseSaveFile = m_options.chooseSaveFile;
        options.sendPage = m_options.sendPage;
        m_historyWindow = new HistoryWindow(options, this);
    } else {
        m_historyWindow->reload();
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void TQXCALC::setClearingControlsEnabled(bool enabled)
{
    for (QWidget *widget : std::initializer_list<QWidget *> {Panel1, Panel6, Panel14,
             PictureButton8, PictureButton9, PictureButton10, PictureButton6, Frame11})
        widget->setEnabled(enabled);
}

void TQXCALC::PictureButton10Click()
{
    askQuestion(Question::Clear, u"データを消去して終了します"_s);
    Button18->setText(u"消去する"_s);
    Button17->setText(u" 間違った！"_s);
    Button17->show();
    setClearingControlsEnabled(false);
    m_popups->show(Popup::Question);
}

void TQXCALC::DeleteRecordAndClose()
{
    if (!m_record->remove())
        ErrorReport::show(u"消去に失敗しました"_s);
    close();
}

// ---- Graphs and mood -----------------------------------------------------------------------

void TQXCALC::DrawBackground()
{
    Frame11->clearPicture();
}

void TQXCALC::drawGraph(int row)
{
    const GraphResult result = Frame11->showGraph(m_record->table(), row, &screenMoodFaces);
    if (result.hasBase) {
        const auto kilograms = axisKilograms(result.base);
        static_assert(std::size(WindowLayout::AxisLabels) == AxisLabelCount);
        for (int i = 0; i < AxisLabelCount; ++i)
            control<TLabel>(WindowLayout::AxisLabels[i])
                ->setCaption(QString::number(kilograms[std::size_t(i)]));
    }
}

void TQXCALC::DrawWeightGraph()
{
    drawGraph(RecordLayout::WeightRow);
}

void TQXCALC::DrawFatGraph()
{
    drawGraph(RecordLayout::FatWeightRow);
}

void TQXCALC::FillDayHeader()
{
    Frame11->setDayHeader(
        dayHeaderTexts(m_record->table(), m_record->secondMonthColumn(), m_record->secondMonth()));
}

void TQXCALC::PictureButton9Click()
{
    if (ChosenGraph == Graph::Weight) {
        ChosenGraph = Graph::FatWeight;
        PictureButton9->setCaption(u"体重グラフ表示"_s);
        DrawBackground();
        DrawFatGraph();
    } else {
        ChosenGraph = Graph::Weight;
        PictureButton9->setCaption(u"脂肪重量グラフ表示"_s);
        DrawBackground();
        DrawWeightGraph();
    }
}

void TQXCALC::PictureButton11Click()
{
    m_popups->hide(Popup::Mood);
    Panel1->setEnabled(true);
    RunAssessment();
    try {
        finishMeasurement();
    } catch (...) {
        // The measurement is complete on screen; only its saving failed.
        Panel6->setEnabled(true);
        throw;
    }
    Panel6->setEnabled(true);
}

// ---- Information page ----------------------------------------------------------------------

void TQXCALC::PictureButton8Click()
{
    // A refused navigation (the browser part missing or broken) leaves the graph and its button
    // as they were.
    if (!InfoShown) {
        const QString base
            = m_options.infoBase.isEmpty() ? InfoPage::defaultInfoBase() : m_options.infoBase;
        WebBrowser1->navigate(InfoPage::pageAddress(
            base, InfoPage::bodyTypeText(m_record->table(), m_record->todayColumn())));
    }
    InfoShown = !InfoShown;
    showInfoButton(PictureButton8, InfoShown);
    Frame11->setVisible(!InfoShown);
    Panel13->setVisible(!InfoShown);
    if (!InfoShown)
        Panel17->show();
}

void TQXCALC::WebBrowser1NavigateComplete2()
{
    Panel17->hide();
}
