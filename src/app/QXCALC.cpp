#include "QXCALC.h"

#include "AccessibleWindow.h"
#include "ErrorReport.h"
#include "WindowLayout.h"
#include "Frame1.h"
#include "WindowKeyboard.h"
#include "assessment/Assessment.h"
#include "assessment/InputRules.h"
#include "numbers/NumberFormat.h"
#include "artwork/Artwork.h"
#include "colors/BgrColor.h"
#include "fonts/Fonts.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "controls/PressKey.h"
#include "controls/RightEdit.h"
#include "info/InfoBrowserHost.h"
#include "info/InfoPage.h"
#include "print/Print01.h"
#include "print/SheetPdf.h"
#include "record/DayHeader.h"
#include "record/GraphPainter.h"
#include "record/MonthTable.h"
#include "record/RecordFile.h"
#include "record/StrGrdIO.h"
#include "report/ReportPrinter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

using namespace WindowLayout;

namespace {

// Keypad keys that act on a mouse press, with the character they append.
const struct
{
    const char *name;
    char16_t key;
} pressKeys[] = {
    {"Button4", u'1'},
    {"Button5", u'2'},
    {"Button6", u'3'},
    {"Button7", u'4'},
    {"Button8", u'5'},
    {"Button9", u'6'},
    {"Button10", u'7'},
    {"Button11", u'8'},
    {"Button12", u'9'},
    {"Button13", u'0'},
    {"Button14", u'.'},
};

const auto DataBackground = bgrColor(16380658);
const auto EditBackground = bgrColor(14868991);

QString clearQuestion()
{
    return u"データを消去して終了します"_s;
}
QString printQuestion()
{
    return u"消去前にグラフ印刷しますか？"_s;
}

void applyCursor(QWidget *widget, unsigned flags)
{
    if (flags & HandCursor)
        widget->setCursor(Qt::PointingHandCursor);
    else if (flags & HelpCursor)
        widget->setCursor(Qt::WhatsThisCursor);
}

// Most controls already inherit the font they are given; setting it again would only resolve
// and propagate it once more.
void applyFont(QWidget *widget, const QFont &font)
{
    if (widget->font() != font)
        widget->setFont(font);
}

} // namespace

TQXCALC::TQXCALC(const Options &options, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_options(options)
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
    createControls();
    connectHandlers();
    FormCreate();
}

TQXCALC::~TQXCALC() = default;

template<typename T> T *TQXCALC::control(const char *name) const
{
    return qobject_cast<T *>(m_controls.value(QString::fromLatin1(name)));
}

void TQXCALC::createControls()
{
    for (const Row &row : controlTable) {
        QWidget *parent = row.parent ? m_controls.value(QString::fromLatin1(row.parent)) : this;
        QWidget *widget = nullptr;
        const QString caption = QString::fromUtf16(row.caption);
        const QFont font = gothicFont(row.fontPx ? row.fontPx : 12, row.flags & Bold);
        switch (row.kind) {
        case Kind::Panel: {
            auto *panel = new TPanel(parent);
            panel->setColor(bgrColor(quint32(row.colour)));
            if (row.textColour != None)
                panel->setTextColor(bgrColor(quint32(row.textColour)));
            panel->setBevelOuter(row.flags & OuterLowered ? TPanel::bvLowered
                    : row.flags & OuterNone               ? TPanel::bvNone
                                                          : TPanel::bvRaised);
            panel->setBevelInner(row.flags & InnerRaised ? TPanel::bvRaised : TPanel::bvNone);
            applyFont(panel, font);
            panel->setCaption(caption);
            widget = panel;
            break;
        }
        case Kind::Button: {
            auto *button = new TPictureButton(parent);
            button->setColor(bgrColor(quint32(row.colour)));
            button->setInColor(bgrColor(quint32(row.hover)));
            button->setTextColor(bgrColor(quint32(row.textColour)));
            applyFont(button, font);
            button->setCaption(caption);
            widget = button;
            break;
        }
        case Kind::Edit: {
            auto *edit = new TRightEdit(parent);
            edit->setFrame(false);
            edit->setTypingLimit(int(row.hover));
            edit->setFocusPolicy(Qt::ClickFocus);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, bgrColor(quint32(row.colour)));
            p.setColor(QPalette::Text, bgrColor(quint32(row.textColour)));
            edit->setPalette(p);
            applyFont(edit, font);
            widget = edit;
            break;
        }
        case Kind::Label: {
            auto *label = new TLabel(parent);
            applyFont(label, font);
            label->setTextColor(bgrColor(quint32(row.textColour)));
            if (row.flags & RightAligned)
                label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            if (row.flags & Centred)
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setGeometry(row.x, row.y, row.w, row.h);
            label->setAutoSize(!(row.flags & FixedSize));
            label->setCaption(caption);
            widget = label;
            break;
        }
        case Kind::Image: {
            auto *image = new QLabel(parent);
            image->setAttribute(Qt::WA_TranslucentBackground);
            widget = image;
            break;
        }
        case Kind::Push: {
            const bool actsOnPress = std::any_of(std::begin(pressKeys), std::end(pressKeys),
                [&row](const auto &key) { return qstrcmp(key.name, row.name) == 0; });
            auto *button
                = actsOnPress ? new TPressKey(caption, parent) : new QPushButton(caption, parent);
            button->setFocusPolicy(Qt::NoFocus);
            applyFont(button, font);
            widget = button;
            break;
        }
        case Kind::Frame:
            widget = new TFrame1(parent);
            break;
        case Kind::Browser:
            widget = new InfoBrowserHost(parent);
            widget->setFocusPolicy(Qt::NoFocus);
            break;
        case Kind::Placeholder:
            widget = new QWidget(parent);
            break;
        }
        widget->setObjectName(QString::fromLatin1(row.name));
        if (row.kind != Kind::Label)
            widget->setGeometry(row.x, row.y, row.w, row.h);
        else
            widget->move(qobject_cast<TLabel *>(widget)->pos());
        applyCursor(widget, row.flags);
        if (*row.hint)
            widget->setToolTip(QString::fromUtf16(row.hint));
        if (row.flags & Disabled)
            widget->setEnabled(false);
        if (row.flags & Hidden)
            widget->hide();
        m_controls.insert(widget->objectName(), widget);
    }

    auto figure = control<QLabel>("Image1");
    figure->setPixmap(QPixmap::fromImage(figurePicture(1, devicePixelRatioF())));

    auto *caption = control<TPictureButton>("PictureButton10");
    caption->setCaptionLeft(7);
    caption->setCaptionTop(6);
    const char *moodButtons[]
        = {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"};
    for (int i = 0; i < 4; ++i) {
        auto *button = control<TPictureButton>(moodButtons[i]);
        button->setPictureLeft(14);
        button->setCaptionLeft(40);
    }

#define FIND(type, name) name = control<type>(#name)
    FIND(TPanel, Panel1);
    FIND(TPanel, Panel2);
    FIND(TPanel, Panel3);
    FIND(TPanel, Panel5);
    FIND(TPanel, Panel6);
    FIND(TPanel, Panel7);
    FIND(TPanel, Panel8);
    FIND(TPanel, Panel9);
    FIND(TPanel, Panel10);
    FIND(TPanel, Panel11);
    FIND(TPanel, Panel12);
    FIND(TPanel, Panel13);
    FIND(TPanel, Panel14);
    FIND(TPanel, Panel15);
    FIND(TPanel, Panel16);
    FIND(TPanel, Panel17);
    FIND(TPictureButton, PictureButton1);
    FIND(TPictureButton, PictureButton2);
    FIND(TPictureButton, PictureButton3);
    FIND(TPictureButton, PictureButton4);
    FIND(TPictureButton, PictureButton5);
    FIND(TPictureButton, PictureButton6);
    FIND(TPictureButton, PictureButton7);
    FIND(TPictureButton, PictureButton8);
    FIND(TPictureButton, PictureButton9);
    FIND(TPictureButton, PictureButton10);
    FIND(TRightEdit, RightEdit1);
    FIND(TRightEdit, RightEdit2);
    FIND(TRightEdit, RightEdit3);
    FIND(TRightEdit, RightEdit4);
    FIND(TLabel, Label9);
    FIND(TLabel, Label10);
    FIND(TLabel, Label12);
    FIND(TLabel, Label14);
    FIND(TLabel, Label15);
    FIND(TLabel, Label18);
    FIND(TLabel, Label19);
    FIND(TLabel, Label20);
    FIND(TLabel, Label21);
    FIND(QPushButton, Button17);
    FIND(QPushButton, Button18);
    FIND(TFrame1, Frame11);
    FIND(InfoBrowserHost, WebBrowser1);
#undef FIND
}

void TQXCALC::guarded(const std::function<void()> &handler)
{
    ErrorReport::guard(handler);
}

void TQXCALC::connectHandlers()
{
    auto onClick = [this](TPictureButton *button, void (TQXCALC::*handler)()) {
        connect(button, &TPictureButton::clicked, this,
            [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    auto onPush = [this](const char *name, void (TQXCALC::*handler)()) {
        connect(control<QPushButton>(name), &QPushButton::clicked, this,
            [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onClick(PictureButton1, &TQXCALC::PictureButton1Click);
    onClick(PictureButton2, &TQXCALC::PictureButton2Click);
    onClick(PictureButton3, &TQXCALC::PictureButton3Click);
    onClick(PictureButton4, &TQXCALC::PictureButton4Click);
    onClick(PictureButton5, &TQXCALC::PictureButton5Click);
    onClick(PictureButton6, &TQXCALC::PictureButton6Click);
    onClick(PictureButton7, &TQXCALC::PictureButton7Click);
    onClick(PictureButton8, &TQXCALC::PictureButton8Click);
    onClick(PictureButton9, &TQXCALC::PictureButton9Click);
    onClick(PictureButton10, &TQXCALC::PictureButton10Click);
    onPush("Button1", &TQXCALC::Button1Click);
    onPush("Button2", &TQXCALC::Button2Click);
    onPush("Button3", &TQXCALC::Button3Click);
    onPush("Button15", &TQXCALC::Button15Click);
    onPush("Button16", &TQXCALC::Button16Click);
    onPush("Button17", &TQXCALC::Button17Click);
    onPush("Button18", &TQXCALC::Button18Click);
    connect(Panel14, &TPanel::clicked, this, [this] { guarded([this] { Panel13Click(); }); });

    const char *moods[]
        = {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"};
    for (int i = 0; i < 4; ++i) {
        auto *button = control<TPictureButton>(moods[i]);
        const QString code = QString::number(i + 1);
        connect(button, &TPictureButton::mouseDown, this,
            [this, code] { guarded([this, code] { moodPress(code); }); });
        // Space and Enter choose as a mouse press does.
        connect(button, &TPictureButton::pressedByKey, this,
            [this, code] { guarded([this, code] { moodPress(code); }); });
        onClick(button, &TQXCALC::PictureButton11Click);
    }

    TRightEdit *edits[] = {RightEdit1, RightEdit2, RightEdit3, RightEdit4};
    void (TQXCALC::*changes[])() = {&TQXCALC::RightEdit1Change, &TQXCALC::RightEdit2Change,
        &TQXCALC::RightEdit3Change, &TQXCALC::RightEdit4Change};
    void (TQXCALC::*clicks[])() = {&TQXCALC::RightEdit1Click, &TQXCALC::RightEdit2Click,
        &TQXCALC::RightEdit3Click, &TQXCALC::RightEdit4Click};
    for (int i = 0; i < 4; ++i) {
        const auto change = changes[i];
        const auto click = clicks[i];
        connect(edits[i], &TRightEdit::textChanged, this,
            [this, change] { guarded([this, change] { (this->*change)(); }); });
        connect(edits[i], &TRightEdit::clicked, this,
            [this, click] { guarded([this, click] { (this->*click)(); }); });
        // RightEdit1KeyPress (age) and RightEdit2KeyPress (the three decimal fields).
        const int field = i + 1;
        edits[i]->setKeyFilter([field](QChar c) { return InputRules::acceptsTypedChar(field, c); });
    }

    const auto named
        = [this](const char *name) { return m_controls.value(QString::fromLatin1(name)); };
    describeWindowControls(named);
    m_keyboard = new WindowKeyboard(this, named);
    // One application-wide filter sees the keypad presses and the window's keys.
    qApp->installEventFilter(this);

    connect(WebBrowser1, &InfoBrowserHost::navigateComplete, this,
        [this] { guarded([this] { WebBrowser1NavigateComplete2(); }); });
}

bool TQXCALC::eventFilter(QObject *watched, QEvent *event)
{
    // Keypad digits and the point act as soon as any mouse button goes down on them, also the
    // second press of a quick double press of the same key.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (const auto &key : pressKeys) {
            if (watched->objectName() == QLatin1String(key.name)
                && watched == m_controls.value(watched->objectName())) {
                auto *button = static_cast<QWidget *>(watched);
                if (button->isEnabled() && button->isVisible()) {
                    const QChar character(key.key);
                    guarded([this, character] { keypadAppend(character); });
                }
                return false;
            }
        }
    }
    // The Enter key forwarded to a picture button below goes straight to it.
    if (m_forwardingEnter && event->type() == QEvent::KeyPress)
        return false;
    if (m_keyboard && m_keyboard->filter(watched, event))
        return true;
    // FormKeyPress: Enter moves the focus on as Tab would and is never delivered as a character;
    // a focused picture button (or the window toggle) still acts on the key going down first.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && widget
            && widget->window() == this) {
            auto *panel = qobject_cast<TPanel *>(widget);
            if (panel
                && (qobject_cast<TPictureButton *>(panel) || panel->kind() == TPanel::Toggle)) {
                // The filter keeps watching: the pop-up the key opens takes the focus.
                m_forwardingEnter = true;
                const auto forwarded = qScopeGuard([this] { m_forwardingEnter = false; });
                QApplication::sendEvent(panel, event);
            }
            // Not when the key opened a pop-up, which took the focus.
            if (widget == this || focusWidget() == widget)
                m_keyboard->focusNext(true);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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

QString TQXCALC::recordPath() const
{
    return m_options.recordFile.isEmpty() ? recordFilePath(AppFolder) : m_options.recordFile;
}

// ---- Start-up and window -------------------------------------------------------------------

void TQXCALC::FormCreate()
{
    setClientHeight(149);
    // The pop-ups were created at their start places.
    ResetInputs();
    QString folder = m_options.appFolder;
    if (folder.isEmpty() && !m_options.recordFile.isEmpty())
        folder = QFileInfo(m_options.recordFile).absolutePath();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::toNativeSeparators(folder).trimmed();
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    AppFolder = folder;
    DrawBackground();
    StartupLoad();
    FillDayHeader();
    LocateToday();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(473 / 2, 149 / 2));
}

void TQXCALC::setClientHeight(int height)
{
    setFixedSize(473, height);
}

void TQXCALC::Panel13Click()
{
    if (Panel14->caption() == u"▼"_s) {
        setClientHeight(477);
        Panel14->setCaption(u"▲"_s);
    } else {
        setClientHeight(149);
        Panel14->setCaption(u"▼"_s);
    }
}

// ---- Inputs --------------------------------------------------------------------------------

void TQXCALC::showSex(int sexCode)
{
    const QColor faded = bgrColor(12615808);
    PictureButton1->setColor(sexCode == 2 ? faded : bgrColor(12615680));
    PictureButton1->setCaption(sexCode == 2 ? QString() : u"♂"_s);
    PictureButton2->setColor(sexCode == 1 ? faded : bgrColor(12615935));
    PictureButton2->setCaption(sexCode == 1 ? QString() : u"♀"_s);
    PictureButton1->setChecked(sexCode == 1);
    PictureButton2->setChecked(sexCode == 2);
}

void TQXCALC::PictureButton1Click()
{
    SexCode = 1;
    showSex(1);
    UpdateCalculateButton();
}

void TQXCALC::PictureButton2Click()
{
    SexCode = 2;
    showSex(2);
    UpdateCalculateButton();
}

void TQXCALC::RightEdit1Change()
{
    const QString text = RightEdit1->text();
    if (!text.isEmpty()) {
        if (const auto age = InputRules::readAgeField(text)) {
            Age = *age;
        } else {
            // An overlong digit string loses its last digit, so Age always equals the field.
            RightEdit1->setText(text.left(text.size() - 1));
            RightEdit1->setCursorPosition(RightEdit1->text().size());
            return;
        }
    }
    UpdateCalculateButton();
}

void TQXCALC::decimalFieldChange(TRightEdit *field, float &value)
{
    const QString text = field->text();
    if (!text.isEmpty()) {
        const std::optional<float> read = InputRules::readDecimalField(text);
        if (!read) {
            field->setText(text.left(text.size() - 1));
            field->setCursorPosition(field->text().size());
            return; // the nested change handling has run UpdateCalculateButton
        }
        value = *read;
    }
    UpdateCalculateButton();
}

void TQXCALC::RightEdit2Change()
{
    decimalFieldChange(RightEdit2, HeightCm);
}

void TQXCALC::RightEdit3Change()
{
    decimalFieldChange(RightEdit3, WeightKg);
}

void TQXCALC::RightEdit4Change()
{
    decimalFieldChange(RightEdit4, BodyFatPercent);
}

void TQXCALC::UpdateCalculateButton()
{
    const bool ready = InputRules::canCalculate(
        SexCode, {RightEdit1->text(), RightEdit2->text(), RightEdit3->text(), RightEdit4->text()});
    PictureButton3->setEnabled(ready);
    PictureButton3->setColor(bgrColor(ready ? 16744576 : 12020844));
}

void TQXCALC::ResetInputs()
{
    SexCode = 0;
    Age = 0;
    HeightCm = WeightKg = BodyFatPercent = Bmi = 0;
    showSex(0);
    for (TRightEdit *edit : {RightEdit1, RightEdit2, RightEdit3, RightEdit4})
        edit->setText(QString());
    Panel2->setCaption(QString());
    Label9->setCaption(u"--.-"_s);
    Label10->setCaption(u"----"_s);
    Label12->setCaption(u"--.-"_s);
    Label14->setCaption(u"--.-"_s);
    control<QLabel>("Image1")->show();
    for (const char *name : {"Image2", "Image3", "Image4", "Image5"})
        control<QLabel>(name)->hide();
    Label15->show();
    PictureButton3->setEnabled(false);
    PictureButton3->setColor(bgrColor(12020844));
    PictureButton5->setEnabled(false);
}

void TQXCALC::PictureButton4Click()
{
    ResetInputs();
}

TRightEdit *TQXCALC::keypadEdit() const
{
    switch (KeypadField) {
    case 1:
        return RightEdit1;
    case 2:
        return RightEdit2;
    case 3:
        return RightEdit3;
    case 4:
        return RightEdit4;
    }
    return nullptr;
}

void TQXCALC::closeKeypad(const std::function<void()> &beforeHiding)
{
    setInputsEnabled(true);
    for (TRightEdit *edit : {RightEdit1, RightEdit2, RightEdit3, RightEdit4}) {
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, DataBackground);
        edit->setPalette(p);
    }
    if (beforeHiding)
        beforeHiding();
    setPopupShown(Panel9, Panel10, false);
}

void TQXCALC::setInputsEnabled(bool enabled)
{
    Panel1->setEnabled(enabled);
    Panel6->setEnabled(enabled);
}

void TQXCALC::setPopupShown(TPanel *popup, TPanel *shadow, bool shown)
{
    // A button of a closing pop-up must not keep the focus: hidden, it would still act on keys.
    if (!shown && popup->isAncestorOf(focusWidget()))
        focusWidget()->clearFocus();
    popup->setVisible(shown);
    shadow->setVisible(shown);
    updatePopupButtons();
}

void TQXCALC::updatePopupButtons()
{
    // One pop-up at a time: the clear and print buttons would otherwise open a second one over
    // the keypad, a question or the mood choice, and their answers would re-enable the inputs
    // under the first.
    bool open = false;
    for (const TPanel *popup : {Panel5, Panel7, Panel9, Panel11, Panel15})
        open = open || !popup->isHidden();
    PictureButton10->setEnabled(ClearAvailable && !open);
    PictureButton6->setEnabled(PrintAvailable && !open);
}

void TQXCALC::Button16Click()
{
    Button17->show();
    Button18->setText(u"本当だってば"_s);
    TRightEdit *edit = keypadEdit();
    if (!edit)
        return;
    const float kept = KeypadField == 2 ? HeightCm : KeypadField == 3 ? WeightKg : BodyFatPercent;
    const InputRules::RangeCheck check
        = InputRules::checkRange(KeypadField, edit->text(), Age, kept);
    switch (check.verdict) {
    case InputRules::RangeVerdict::Empty:
        return;
    case InputRules::RangeVerdict::Under15:
        Label18->setCaption(check.message);
        Button17->hide();
        Button18->setText(u"了 解"_s);
        Panel9->setEnabled(false);
        setPopupShown(Panel11, Panel12, true);
        return;
    case InputRules::RangeVerdict::Question:
        Label18->setCaption(check.message);
        Panel9->setEnabled(false);
        setPopupShown(Panel11, Panel12, true);
        return;
    case InputRules::RangeVerdict::Accepted:
        closeKeypad();
        return;
    }
}

void TQXCALC::Button18Click()
{
    if (Label18->caption() == clearQuestion()) {
        Label18->setCaption(printQuestion());
        Button17->setText(u"直ちに終了"_s);
        Button18->setText(u"印刷して終了"_s);
        return;
    }
    if (Label18->caption() == printQuestion()) {
        Panel7->setEnabled(false);
        PictureButton7->setCaption(u"印刷中"_s);
        bool done = false;
        try {
            done = printOrSaveBothSheets();
        } catch (...) {
            restorePrintPopup();
            throw;
        }
        // The record goes only once its sheets are on paper or completely in the file.
        if (!done) {
            restorePrintPopup();
            return;
        }
        DeleteRecordAndClose();
        return;
    }
    if (KeypadField == 1 && Age < 15)
        ResetInputs();
    Panel9->setEnabled(true);
    setPopupShown(Panel11, Panel12, false);
    closeKeypad();
}

void TQXCALC::Button17Click()
{
    if (Label18->caption() == clearQuestion()) {
        Button18->setText(u"本当だってば"_s);
        setClearingControlsEnabled(true);
        setPopupShown(Panel11, Panel12, false);
        return;
    }
    if (Label18->caption() == printQuestion()) {
        DeleteRecordAndClose();
        return;
    }
    Panel9->setEnabled(true);
    if (TRightEdit *edit = keypadEdit())
        edit->setText(QString());
    setPopupShown(Panel11, Panel12, false);
}

// ---- Keypad --------------------------------------------------------------------------------

void TQXCALC::openKeypad(int field)
{
    KeypadField = field;
    setInputsEnabled(false);
    TRightEdit *edit = keypadEdit();
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, EditBackground);
    edit->setPalette(p);
    KeypadSavedText = edit->text();
    edit->setText(QString());
    Label19->setCaption(InputRules::keypadUnit(field));
    setPopupShown(Panel9, Panel10, true);
    // The clear button cannot take over the confirmation pop-up while the keypad is open.
}

void TQXCALC::RightEdit1Click()
{
    openKeypad(1);
}
void TQXCALC::RightEdit2Click()
{
    openKeypad(2);
}
void TQXCALC::RightEdit3Click()
{
    openKeypad(3);
}
void TQXCALC::RightEdit4Click()
{
    openKeypad(4);
}

void TQXCALC::keypadAppend(QChar key)
{
    if (TRightEdit *edit = keypadEdit())
        edit->setText(InputRules::keypadAppend(KeypadField, edit->text(), key));
}

void TQXCALC::Button15Click()
{
    if (TRightEdit *edit = keypadEdit())
        edit->setText(QString());
}

void TQXCALC::Button2Click()
{
    closeKeypad([this] {
        if (TRightEdit *edit = keypadEdit())
            edit->setText(KeypadSavedText);
    });
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
    ClearAvailable = PrintAvailable = true;
    updatePopupButtons();
    PictureButton5->setEnabled(true);
    Panel6->setEnabled(true);
    if (!RecordUsedUp) {
        writeMeasurementCells(StringGrid1, TodayColumn, measurements());
        NewMonth = false;
    }
    if (EveningSlot == 1 && !RecordUsedUp) {
        // The mood pictures are drawn the first time they are needed, not at start-up.
        auto *first = control<TPictureButton>("PictureButton11");
        if (first->picture().isNull()) {
            const char *moods[]
                = {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"};
            for (int i = 0; i < 4; ++i)
                control<TPictureButton>(moods[i])->setPicture(moodButtonPicture(i + 1));
        }
        setPopupShown(Panel15, Panel16, true);
        setInputsEnabled(false);
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

    for (const char *name : {"Image2", "Image3", "Image4", "Image5"})
        control<QLabel>(name)->hide();
    if (result.bodyType != 0) {
        Panel2->setCaption(result.bodyTypeCaption);
        auto *figure = control<QLabel>(QByteArray("Image" + QByteArray::number(result.figure)));
        if (figure->pixmap().isNull()) // drawn the first time it is needed
            figure->setPixmap(
                QPixmap::fromImage(figurePicture(result.figure, devicePixelRatioF())));
        figure->setAccessibleDescription(result.bodyTypeCaption);
        figure->show();
    }
    Label12->setCaption(result.fatWeightText + u"kg"_s);
    if (result.excessShown)
        Label14->setCaption(result.excessLabel);
    Label15->setVisible(result.excessUnitShown);
    Label20->setCaption(result.advice1);
    Label21->setCaption(result.advice2);
    control<QLabel>("Image1")->hide();
    // A used-up record keeps its 31 days as they are.
    if (!RecordUsedUp)
        writeAssessmentCells(StringGrid1, TodayColumn, result);
}

void TQXCALC::PictureButton5Click()
{
    setInputsEnabled(false);
    setPopupShown(Panel5, Panel3, true);
}

void TQXCALC::Button1Click()
{
    setPopupShown(Panel5, Panel3, false);
    setInputsEnabled(true);
}

// ---- Record --------------------------------------------------------------------------------

void TQXCALC::StartupLoad()
{
    const RecordOnDisk disk = readRecordOnDisk(recordPath());
    KnownRecord = disk;
    try {
        if (disk.kind != RecordOnDisk::Kind::Readable)
            throw std::runtime_error(disk.error.toStdString());
        TStringGridIO::parse(disk.bytes, StringGrid1, u","_s, false);
        RestoreProfile();
        DrawWeightGraph();
        ClearAvailable = PrintAvailable = true;
        updatePopupButtons();
    } catch (...) {
        // No record (or an unreadable one): a new month. One that held something is kept aside
        // first, or the first measurement would replace it for good.
        if (disk.worthKeeping()) {
            KnownRecord.reset(); // never overwritten unread, even before it is moved
            // Once the window is up: building it writes nothing, so a start that gives way to a
            // program already running on this record leaves the folder as it was.
            QTimer::singleShot(0, this, [this] { guarded([this] { keepDamagedRecord(); }); });
        }
        InitMonthTable();
        NewMonth = true;
    }
}

void TQXCALC::keepDamagedRecord()
{
    const QString path = recordPath();
    const QString keptAs = keepAside(path, now());
    QString notice;
    if (keptAs.isEmpty()) {
        KnownRecord.reset();
        notice = recordNotMovedNotice(path);
    } else {
        KnownRecord = readRecordOnDisk(path);
        notice = recordKeptAsideNotice(path, keptAs);
    }
    ErrorReport::show(notice);
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
        showSex(SexCode);
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
    // Another copy of the record may have been put in place while the window was open (a
    // restored backup): the table in memory must not overwrite it unseen.
    const QString path = recordPath();
    const RecordOnDisk disk = readRecordOnDisk(path);
    if (KnownRecord && disk.sameFile(*KnownRecord))
        return;
    // Deleted meanwhile: the save writes the table anew.
    if (disk.kind == RecordOnDisk::Kind::Missing)
        return;
    std::optional<TextGrid> table = ::recordTable(disk);
    if (!table) {
        KnownRecord.reset();
        throw std::runtime_error(recordUnreadableNotice(path).toStdString());
    }
    if (sameMonth(*table, StringGrid1)) {
        copyMeasurement(*table, StringGrid1, TodayColumn);
        StringGrid1 = *table;
        return;
    }
    adoptRecord(*table, disk);
    throw std::runtime_error(recordReplacedNotice(path).toStdString());
}

void TQXCALC::adoptRecord(const TextGrid &table, const RecordOnDisk &disk)
{
    // The record now in place is the one the person chose: later measurements go into it.
    StringGrid1 = table;
    const Profile profile = restoreProfile(StringGrid1);
    SecondMonthColumn = profile.secondMonthColumn;
    SecondMonth = profile.secondMonth;
    DayAfterTable.clear();
    KnownRecord = disk;
    NewMonth = false;
    FillDayHeader();
    LocateToday();
    DrawBackground();
    DrawWeightGraph();
}

void TQXCALC::SaveRecord()
{
    TStringGridIO io;
    io.setTargetGrid(&StringGrid1);
    try {
        // The user's data folder (or a folder named by --record) is made by the first save, not
        // at start. A portable copy's folder is never re-created: gone, it is reported as gone.
        if (!m_options.recordFolderToMake.isEmpty())
            QDir().mkpath(m_options.recordFolderToMake);
        io.SaveToFile(recordPath(), u","_s, false);
    } catch (const std::exception &e) {
        throw std::runtime_error(notRecordedNotice(QString::fromUtf8(e.what())).toStdString());
    }
    KnownRecord = readRecordOnDisk(recordPath());
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
    Label18->setCaption(clearQuestion());
    Button18->setText(u"消去する"_s);
    Button17->setText(u" 間違った！"_s);
    Button17->show();
    setClearingControlsEnabled(false);
    setPopupShown(Panel11, Panel12, true);
}

void TQXCALC::DeleteRecordAndClose()
{
    const QString path = recordPath();
    if (QFile::exists(path) && !QFile::remove(path))
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

std::array<QImage, 4> printFaces()
{
    std::array<QImage, 4> icons;
    for (int code = 1; code <= 4; ++code)
        icons[code - 1] = moodFace(code, MoodFaceSet::OnWhite);
    return icons;
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
    if (PictureButton9->caption() == u"脂肪重量グラフ表示"_s) {
        PictureButton9->setCaption(u"体重グラフ表示"_s);
        DrawBackground();
        DrawFatGraph();
    } else {
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
    setPopupShown(Panel15, Panel16, false);
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
    setInputsEnabled(false);
    setPopupShown(Panel7, Panel8, true);
}

void TQXCALC::Button3Click()
{
    setPopupShown(Panel7, Panel8, false);
    setInputsEnabled(true);
}

void TQXCALC::restorePrintPopup()
{
    Panel7->setEnabled(true);
    PictureButton7->setCaption(u"印刷開始"_s);
}

void TQXCALC::PictureButton7Click()
{
    Panel7->setEnabled(false);
    PictureButton7->setCaption(u"印刷中"_s);
    bool done = false;
    try {
        done = printOrSaveBothSheets();
    } catch (...) {
        restorePrintPopup();
        throw;
    }
    restorePrintPopup();
    if (done)
        Button3Click();
}

TPrint01 *TQXCALC::printForm()
{
    // Made on first use: its pictures cost start-up time and most runs never print.
    if (!Print01)
        Print01 = std::make_unique<TPrint01>();
    return Print01.get();
}

namespace {
TPrint01::SheetInput sheetInput(
    int secondMonthColumn, int secondMonth, const QString &dayAfterTable)
{
    TPrint01::SheetInput input;
    input.secondMonthColumn = secondMonthColumn;
    input.secondMonth = secondMonth;
    input.dayAfterTable = dayAfterTable;
    input.moodIcons = printFaces();
    return input;
}
} // namespace

void TQXCALC::PrintBothSheets()
{
    printForm()->printBothSheets(StringGrid1,
        sheetInput(SecondMonthColumn, SecondMonth, DayAfterTable), Label20->caption(),
        Label21->caption());
}

bool TQXCALC::printOrSaveBothSheets()
{
    if (ReportPrinter::hasDefaultPrinter()) {
        PrintBothSheets();
        return true;
    }
    return saveBothSheetsAsPdf();
}

bool TQXCALC::saveBothSheetsAsPdf()
{
    // A sheet without data is reported before anything is asked.
    TPrint01::checkPrintable(StringGrid1);
    const QString question = SheetPdf::offerQuestion();
    bool yes = false;
    if (m_options.ask) {
        yes = m_options.ask(question);
    } else {
        QMessageBox box(QMessageBox::Question, u"ペミラ"_s, question, QMessageBox::NoButton, this);
        QPushButton *save = box.addButton(u"保存する"_s, QMessageBox::AcceptRole);
        box.addButton(u"保存しない"_s, QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.exec();
        yes = box.clickedButton() == save;
    }
    if (!yes)
        return false;

    const QString proposed = SheetPdf::proposedPath(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), StringGrid1,
        now().date());
    const QString path = m_options.chooseSaveFile
        ? m_options.chooseSaveFile(proposed)
        : QFileDialog::getSaveFileName(
            this, u"PDFファイルに保存"_s, proposed, u"PDFファイル (*.pdf)"_s);
    if (path.isEmpty())
        return false;
    SheetPdf::write(*printForm(), StringGrid1,
        sheetInput(SecondMonthColumn, SecondMonth, DayAfterTable), Label20->caption(),
        Label21->caption(), path);
    return true;
}

// ---- Information page ----------------------------------------------------------------------

void TQXCALC::PictureButton8Click()
{
    if (PictureButton8->caption() == u"インフォメーション表示"_s) {
        PictureButton8->setGeometry(8, 149, 457, 22);
        Frame11->hide();
        Panel13->hide();
        const QString base
            = m_options.infoBase.isEmpty() ? InfoPage::defaultInfoBase() : m_options.infoBase;
        WebBrowser1->navigate(
            InfoPage::pageAddress(base, InfoPage::bodyTypeText(StringGrid1, TodayColumn)));
        PictureButton8->setCaption(u"グラフ表示"_s);
        PictureButton8->setToolTip(u"グラフを表示します"_s);
        PictureButton8->setColor(bgrColor(14386212));
        PictureButton8->setInColor(bgrColor(15183213));
    } else {
        PictureButton8->setGeometry(237, 149, 229, 22);
        Frame11->show();
        Panel13->show();
        PictureButton8->setCaption(u"インフォメーション表示"_s);
        PictureButton8->setToolTip(u"インフォメーションサイトへ接続します"_s);
        PictureButton8->setColor(bgrColor(8421440));
        PictureButton8->setInColor(bgrColor(10987348));
        Panel17->show();
    }
}

void TQXCALC::WebBrowser1NavigateComplete2()
{
    Panel17->hide();
}
