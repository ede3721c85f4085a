// SPDX-License-Identifier: GPL-3.0-or-later
// The window's wiring: its named components found in the controls the layout table built, and
// each handler connected to its component, every one through the application's error report.
#include "QXCALC.h"

#include "AccessibleWindow.h"
#include "EnterKey.h"
#include "ErrorReport.h"
#include "WindowLayout.h"
#include "Frame1.h"
#include "KeypadKeys.h"
#include "WindowKeyboard.h"
#include "assessment/InputRules.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "controls/RightEdit.h"
#include "info/InfoBrowserHost.h"

#include <QAction>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Runs a handler through the application's error report.
template<typename Handler> auto guardedSlot(TQXCALC *window, Handler handler)
{
    return [window, handler] { ErrorReport::guard([window, handler] { (window->*handler)(); }); };
}

} // namespace

TQXCALC::~TQXCALC()
{
    // The key helpers watch the window's controls and read its members: they go before the
    // members do, not with the controls.
    delete m_keyboard;
    delete m_enterKey;
    delete m_keypadKeys;
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
    findAll<TPanel>({NAMED(Panel1), NAMED(Panel2), NAMED(Panel6), NAMED(Panel7), NAMED(Panel9),
        NAMED(Panel13), NAMED(Panel14), NAMED(Panel17)});
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
        // Each push button's handler is spelled after it.
#define PUSH(button) std::pair<const char *, Handler>(#button, &TQXCALC::button##Click)
    const std::pair<const char *, Handler> pushes[] = {PUSH(Button1), PUSH(Button2), PUSH(Button3),
        PUSH(Button15), PUSH(Button16), PUSH(Button17), PUSH(Button18)};
#undef PUSH
    for (const auto &[name, handler] : pushes)
        connect(
            control<QPushButton>(name), &QPushButton::clicked, this, guardedSlot(this, handler));
    connect(Panel14, &TPanel::clicked, this, guardedSlot(this, &TQXCALC::Panel13Click));

    for (int i = 0; i < 4; ++i) {
        auto *button = control<TPictureButton>(WindowLayout::MoodButtons[i]);
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
    m_keyboard = new WindowKeyboard(this, named, *m_popups);
    m_keypadKeys = new KeypadKeys(
        named, [this](QChar key) { ErrorReport::guard([this, key] { keypadAppend(key); }); }, this);
    // FormKeyPress
    m_enterKey = new EnterKey(this, [this] { m_keyboard->focusNext(true); });
    m_enterKey->watch(this);
    for (QWidget *widget : std::as_const(m_controls))
        m_enterKey->watch(widget);

    connect(WebBrowser1, &InfoBrowserHost::navigateComplete, this,
        guardedSlot(this, &TQXCALC::WebBrowser1NavigateComplete2));

    // The history opens with Ctrl+H anywhere in the window and from the graph's context menu;
    // no control of the window moves for it.
    auto *history = new QAction(u"計測の履歴(&H)…"_s, this);
    history->setShortcut(QKeySequence(u"Ctrl+H"_s));
    connect(history, &QAction::triggered, this, guardedSlot(this, &TQXCALC::openHistory));
    addAction(history);
    Frame11->addAction(history);
    Frame11->setContextMenuPolicy(Qt::ActionsContextMenu);
    Frame11->setToolTip(u"右クリック（または Ctrl+H）で計測の履歴を表示します"_s);
}
