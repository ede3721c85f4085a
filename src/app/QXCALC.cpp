// SPDX-License-Identifier: GPL-3.0-or-later
#include "QXCALC.h"

#include "AccessibleWindow.h"
#include "EnterKey.h"
#include "ErrorReport.h"
#include "Frame1.h"
#include "KeypadKeys.h"
#include "RecordLocation.h"
#include "WindowControls.h"
#include "WindowKeyboard.h"
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
#include "record/MonthTable.h"
#include "record/RecordFile.h"
#include "report/ReportPrinter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QColor layoutColour(qint64 colour)
{
    return bgrColor(quint32(colour));
}

// Runs a handler through the application's error report.
template<typename Handler> auto guardedSlot(TQXCALC *window, Handler handler)
{
    return [window, handler] { ErrorReport::guard([window, handler] { (window->*handler)(); }); };
}

} // namespace

TQXCALC::TQXCALC(const Options &options, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_options(options)
    , m_output(this, options.ask, options.chooseSaveFile)
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
    m_popups.emplace(Popups::Controls {this, Panel1, Panel6, PictureButton10, PictureButton6,
        {Panel5, Panel7, Panel9, Panel11, Panel15}});
    connectHandlers();
    FormCreate();
}

TQXCALC::~TQXCALC()
{
    // The key helpers watch the window's controls and read its members: they go before the
    // members do, not with the controls.
    delete m_keyboard;
    delete m_enterKey;
    delete m_keypadKeys;
}

template<typename T> T *TQXCALC::control(const char *name) const
{
    return qobject_cast<T *>(m_controls.value(QString::fromLatin1(name)));
}

namespace {
// A member pointer and the component name it is spelled after.
#define NAMED(member) std::make_pair(&member, #member)
} // namespace

template<typename T>
void TQXCALC::findAll(std::initializer_list<std::pair<T **, const char *>> members) const
{
    for (const auto &[member, name] : members)
        *member = control<T>(name);
}

void TQXCALC::findControls()
{
    findAll<TPanel>({NAMED(Panel1), NAMED(Panel2), NAMED(Panel3), NAMED(Panel5), NAMED(Panel6),
        NAMED(Panel7), NAMED(Panel8), NAMED(Panel9), NAMED(Panel10), NAMED(Panel11), NAMED(Panel12),
        NAMED(Panel13), NAMED(Panel14), NAMED(Panel15), NAMED(Panel16), NAMED(Panel17)});
    findAll<TPictureButton>({NAMED(PictureButton1), NAMED(PictureButton2), NAMED(PictureButton3),
        NAMED(PictureButton4), NAMED(PictureButton5), NAMED(PictureButton6), NAMED(PictureButton7),
        NAMED(PictureButton8), NAMED(PictureButton9), NAMED(PictureButton10)});
    findAll<TRightEdit>(
        {NAMED(RightEdit1), NAMED(RightEdit2), NAMED(RightEdit3), NAMED(RightEdit4)});
    findAll<TLabel>({NAMED(Label9), NAMED(Label10), NAMED(Label12), NAMED(Label14), NAMED(Label15),
        NAMED(Label18), NAMED(Label19), NAMED(Label20), NAMED(Label21)});
    findAll<QPushButton>({NAMED(Button17), NAMED(Button18)});
    findAll<TFrame1>({NAMED(Frame11)});
    findAll<InfoBrowserHost>({NAMED(WebBrowser1)});
}

void TQXCALC::connectHandlers()
{
    using Handler = void (TQXCALC::*)();
    const auto onClick = [this](TPictureButton *button, Handler handler) {
        connect(button, &TPictureButton::clicked, this, guardedSlot(this, handler));
    };
    const std::pair<TPictureButton *, Handler> clicks[]
        = {{PictureButton1, &TQXCALC::PictureButton1Click},
            {PictureButton2, &TQXCALC::PictureButton2Click},
            {PictureButton3, &TQXCALC::PictureButton3Click},
            {PictureButton4, &TQXCALC::PictureButton4Click},
            {PictureButton5, &TQXCALC::PictureButton5Click},
            {PictureButton6, &TQXCALC::PictureButton6Click},
            {PictureButton7, &TQXCALC::PictureButton7Click},
            {PictureButton8, &TQXCALC::PictureButton8Click},
            {PictureButton9, &TQXCALC::PictureButton9Click},
            {PictureButton10, &TQXCALC::PictureButton10Click}};
    for (const auto &[button, handler] : clicks)
        onClick(button, handler);
    const std::pair<const char *, Handler> pushes[] = {{"Button1", &TQXCALC::Button1Click},
        {"Button2", &TQXCALC::Button2Click}, {"Button3", &TQXCALC::Button3Click},
        {"Button15", &TQXCALC::Button15Click}, {"Button16", &TQXCALC::Button16Click},
        {"Button17", &TQXCALC::Button17Click}, {"Button18", &TQXCALC::Button18Click}};
    for (const auto &[name, handler] : pushes)
        connect(
            control<QPushButton>(name), &QPushButton::clicked, this, guardedSlot(this, handler));
    connect(Panel14, &TPanel::clicked, this, guardedSlot(this, &TQXCALC::Panel13Click));

    const char *moods[]
        = {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"};
    for (int i = 0; i < 4; ++i) {
        auto *button = control<TPictureButton>(moods[i]);
        const QString code = QString::number(i + 1);
        const auto press = [this, code] { ErrorReport::guard([this, code] { moodPress(code); }); };
        connect(button, &TPictureButton::mouseDown, this, press);
        // Space and Enter choose as a mouse press does.
        connect(button, &TPictureButton::pressedByKey, this, press);
        onClick(button, &TQXCALC::PictureButton11Click);
    }

    TRightEdit *edits[] = {RightEdit1, RightEdit2, RightEdit3, RightEdit4};
    const Handler changes[] = {&TQXCALC::RightEdit1Change, &TQXCALC::RightEdit2Change,
        &TQXCALC::RightEdit3Change, &TQXCALC::RightEdit4Change};
    const Handler fieldClicks[] = {&TQXCALC::RightEdit1Click, &TQXCALC::RightEdit2Click,
        &TQXCALC::RightEdit3Click, &TQXCALC::RightEdit4Click};
    for (int i = 0; i < 4; ++i) {
        connect(edits[i], &TRightEdit::textChanged, this, guardedSlot(this, changes[i]));
        connect(edits[i], &TRightEdit::clicked, this, guardedSlot(this, fieldClicks[i]));
        // RightEdit1KeyPress (age) and RightEdit2KeyPress (the three decimal fields).
        const int field = i + 1;
        edits[i]->setKeyFilter([field](QChar c) { return InputRules::acceptsTypedChar(field, c); });
    }

    const auto named
        = [this](const char *name) { return m_controls.value(QString::fromLatin1(name)); };
    describeWindowControls(named);
    m_keyboard = new WindowKeyboard(this, named);
    m_keypadKeys = new KeypadKeys(
        named, [this](QChar key) { ErrorReport::guard([this, key] { keypadAppend(key); }); }, this);
    // FormKeyPress
    m_enterKey = new EnterKey(this, [this] { m_keyboard->focusNext(true); });
    m_enterKey->watch(this);
    for (QWidget *widget : std::as_const(m_controls))
        m_enterKey->watch(widget);

    connect(WebBrowser1, &InfoBrowserHost::navigateComplete, this,
        guardedSlot(this, &TQXCALC::WebBrowser1NavigateComplete2));
}

bool TQXCALC::focusNextPrevChild(bool next)
{
    // Qt asks this when the focused control is disabled or hidden: a disabled one loses the focus
    // so that the pop-up it opens can give it back.
    if (QWidget *focus = focusWidget(); focus && !focus->isEnabled()) {
        focus->clearFocus();
        return true;
    }
    return m_keyboard ? m_keyboard->focusNext(next) : QWidget::focusNextPrevChild(next);
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
        m_options.recordFolderToMake);
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
    PictureButton3->setColor(ready ? bgrColor(WindowLayout::CalculateReadyColour)
                                   : layoutColour(WindowLayout::row("PictureButton3").colour));
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
    PictureButton3->setEnabled(false);
    PictureButton3->setColor(layoutColour(WindowLayout::row("PictureButton3").colour));
    PictureButton5->setEnabled(false);
}

void TQXCALC::closeKeypad(const std::function<void()> &beforeHiding)
{
    m_popups->setInputsEnabled(true);
    m_keypad.close();
    if (beforeHiding)
        beforeHiding();
    m_popups->setShown(Panel9, Panel10, false);
}

void TQXCALC::askQuestion(Question question, const QString &text)
{
    AskedQuestion = question;
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
        askQuestion(Question::Range, check.message);
        Button17->hide();
        Button18->setText(u"了 解"_s);
        Panel9->setEnabled(false);
        m_popups->setShown(Panel11, Panel12, true);
        return;
    case InputRules::RangeVerdict::Question:
        askQuestion(Question::Range, check.message);
        Panel9->setEnabled(false);
        m_popups->setShown(Panel11, Panel12, true);
        return;
    case InputRules::RangeVerdict::Accepted:
        closeKeypad();
        return;
    }
}

void TQXCALC::Button18Click()
{
    switch (AskedQuestion) {
    case Question::Clear:
        askQuestion(Question::PrintBeforeClear, u"消去前にグラフ印刷しますか？"_s);
        Button17->setText(u"直ちに終了"_s);
        Button18->setText(u"印刷して終了"_s);
        return;
    case Question::PrintBeforeClear:
        // The record goes only once its sheets are on paper or completely in the file.
        if (!printOrSaveBothSheets()) {
            restorePrintPopup();
            return;
        }
        DeleteRecordAndClose();
        return;
    case Question::Range:
        break;
    }
    if (m_keypad.field() == 1 && Age < 15)
        ResetInputs();
    Panel9->setEnabled(true);
    m_popups->setShown(Panel11, Panel12, false);
    closeKeypad();
}

void TQXCALC::Button17Click()
{
    switch (AskedQuestion) {
    case Question::Clear:
        Button18->setText(u"本当だってば"_s);
        setClearingControlsEnabled(true);
        m_popups->setShown(Panel11, Panel12, false);
        return;
    case Question::PrintBeforeClear:
        DeleteRecordAndClose();
        return;
    case Question::Range:
        break;
    }
    Panel9->setEnabled(true);
    m_keypad.clear();
    m_popups->setShown(Panel11, Panel12, false);
}

// ---- Keypad --------------------------------------------------------------------------------

void TQXCALC::openKeypad(int field)
{
    m_popups->setInputsEnabled(false);
    m_keypad.open(field);
    Label19->setCaption(InputRules::keypadUnit(field));
    m_popups->setShown(Panel9, Panel10, true);
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
    m_popups->setAvailable(true, true);
    PictureButton5->setEnabled(true);
    Panel6->setEnabled(true);
    if (!RecordUsedUp) {
        writeMeasurementCells(StringGrid1, TodayColumn, measurements());
        NewMonth = false;
    }
    if (EveningSlot == 1 && !RecordUsedUp) {
        drawMoodButtons(m_controls);
        m_popups->setShown(Panel15, Panel16, true);
        m_popups->setInputsEnabled(false);
        return;
    }
    RunAssessment();
    if (!RecordUsedUp)
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
    // A used-up record keeps its 31 days as they are.
    if (!RecordUsedUp)
        writeAssessmentCells(StringGrid1, TodayColumn, result);
}

void TQXCALC::PictureButton5Click()
{
    m_popups->setInputsEnabled(false);
    m_popups->setShown(Panel5, Panel3, true);
}

void TQXCALC::Button1Click()
{
    m_popups->setShown(Panel5, Panel3, false);
    m_popups->setInputsEnabled(true);
}

// ---- Record --------------------------------------------------------------------------------

void TQXCALC::StartupLoad()
{
    try {
        m_record->load(StringGrid1);
        RestoreProfile();
        DrawWeightGraph();
        m_popups->setAvailable(true, true);
    } catch (...) {
        // No record (or an unreadable one): a new month. One that held something is kept aside
        // first, or the first measurement would replace it for good.
        if (m_record->damagedAtStart()) {
            // Once the window is up: building it writes nothing, so a start that gives way to a
            // program already running on this record leaves the folder as it was.
            QTimer::singleShot(0, this, [this] {
                ErrorReport::guard([this] { ErrorReport::show(m_record->keepAside(now())); });
            });
        }
        InitMonthTable();
        NewMonth = true;
    }
}

void TQXCALC::InitMonthTable()
{
    const MonthMarkers markers = initMonthTable(StringGrid1, now());
    SecondMonthColumn = markers.secondMonthColumn;
    SecondMonth = markers.secondMonth;
    DayAfterTable = markers.dayAfterTable;
}

void TQXCALC::LocateToday()
{
    const TodayLocation today = locateToday(StringGrid1, now());
    setWindowTitle(today.caption);
    EveningSlot = today.eveningSlot;
    RecordUsedUp = today.usedUp;
    LocatedSlot = today.slot;
    if (!today.usedUp)
        TodayColumn = today.todayColumn;
}

void TQXCALC::RelocateToday()
{
    // A window left open across 04:00 or 16:00 would otherwise write into the slot it was
    // started in.
    if (recordSlot(now()) == LocatedSlot)
        return;
    if (NewMonth) {
        // Still only in memory: a start now would lay the month out from today.
        InitMonthTable();
        FillDayHeader();
    }
    LocateToday();
}

void TQXCALC::RestoreProfile()
{
    const Profile profile = restoreProfile(StringGrid1);
    SecondMonthColumn = profile.secondMonthColumn;
    SecondMonth = profile.secondMonth;
    SexCode = profile.sexCode;
    if (SexCode == 1 || SexCode == 2)
        showSex(PictureButton1, PictureButton2, SexCode);
    Age = profile.age;
    RightEdit1->setText(profile.ageText);
    HeightCm = profile.heightCm;
    RightEdit2->setText(profile.heightText);
}

void TQXCALC::CompleteFirstColumn()
{
    completeFirstColumn(StringGrid1);
}

void TQXCALC::ReconcileRecord()
{
    if (m_record->reconcile(StringGrid1, TodayColumn) != RecordKeeper::Reconciled::Replaced)
        return;
    adoptRecord();
    throw std::runtime_error(recordReplacedNotice(m_record->path()).toStdString());
}

void TQXCALC::adoptRecord()
{
    const Profile profile = restoreProfile(StringGrid1);
    SecondMonthColumn = profile.secondMonthColumn;
    SecondMonth = profile.secondMonth;
    DayAfterTable.clear();
    NewMonth = false;
    FillDayHeader();
    LocateToday();
    DrawBackground();
    DrawWeightGraph();
}

void TQXCALC::finishMeasurement()
{
    ReconcileRecord();
    CompleteFirstColumn();
    DrawBackground();
    DrawWeightGraph();
    SaveRecord();
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
    m_popups->setShown(Panel11, Panel12, true);
}

void TQXCALC::DeleteRecordAndClose()
{
    if (!m_record->remove())
        ErrorReport::show(u"消去に失敗しました"_s);
    close();
}

// ---- Graphs and mood -----------------------------------------------------------------------

namespace {
const MoodFaces &screenFaces()
{
    static const MoodFaces faces = [] {
        MoodFaces f;
        for (int code = 1; code <= 4; ++code) {
            f.faces[code - 1] = moodFace(code, MoodFaceSet::OnBlack);
            f.masks[code - 1] = moodFace(code, MoodFaceSet::Mask);
        }
        return f;
    }();
    return faces;
}
} // namespace

void TQXCALC::DrawBackground()
{
    Frame11->clearPicture();
}

void TQXCALC::drawGraph(int row)
{
    const GraphResult result = Frame11->showGraph(StringGrid1, row, &screenFaces);
    if (result.hasBase) {
        const auto kilograms = axisKilograms(result.base);
        for (int i = 0; i < AxisLabelCount; ++i)
            control<TLabel>(QByteArray("Label" + QByteArray::number(22 + i)))
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
    Frame11->setDayHeader(dayHeaderTexts(StringGrid1, SecondMonthColumn, SecondMonth));
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

void TQXCALC::moodPress(const QString &code)
{
    if (!RecordUsedUp)
        writeMood(StringGrid1, TodayColumn, code.toInt());
}

void TQXCALC::PictureButton11Click()
{
    m_popups->setShown(Panel15, Panel16, false);
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

// ---- Printing ------------------------------------------------------------------------------

void TQXCALC::PictureButton6Click()
{
    m_popups->setInputsEnabled(false);
    m_popups->setShown(Panel7, Panel8, true);
}

void TQXCALC::Button3Click()
{
    m_popups->setShown(Panel7, Panel8, false);
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
    return {StringGrid1, SecondMonthColumn, SecondMonth, DayAfterTable, Label20->caption(),
        Label21->caption()};
}

void TQXCALC::PrintBothSheets()
{
    m_output.print(sheets());
}

bool TQXCALC::printOrSaveBothSheets()
{
    Panel7->setEnabled(false);
    PictureButton7->setCaption(u"印刷中"_s);
    bool done = false;
    try {
        if (ReportPrinter::hasDefaultPrinter()) {
            PrintBothSheets();
            done = true;
        } else {
            done = m_output.saveAsPdf(sheets(), now().date());
        }
    } catch (...) {
        restorePrintPopup();
        throw;
    }
    return done;
}

// ---- Information page ----------------------------------------------------------------------

void TQXCALC::PictureButton8Click()
{
    InfoShown = !InfoShown;
    showInfoButton(PictureButton8, InfoShown);
    Frame11->setVisible(!InfoShown);
    Panel13->setVisible(!InfoShown);
    if (InfoShown) {
        const QString base
            = m_options.infoBase.isEmpty() ? InfoPage::defaultInfoBase() : m_options.infoBase;
        WebBrowser1->navigate(
            InfoPage::pageAddress(base, InfoPage::bodyTypeText(StringGrid1, TodayColumn)));
    } else {
        Panel17->show();
    }
}

void TQXCALC::WebBrowser1NavigateComplete2()
{
    Panel17->hide();
}
