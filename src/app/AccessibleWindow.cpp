// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleWindow.h"

#include "Frame1.h"
#include "Popups.h"
#include "WindowLayout.h"
#include "controls/Accessible.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"

#include <QAccessible>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *windowInterface(const QString &className, QObject *object)
{
    if (QAccessibleInterface *control = accessibleControl(className, object))
        return control;
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == u"TFrame1"_s)
        return new AccessibleShownWidget(widget, QAccessible::Pane);
    // The page itself is the browser engine's own tree, inside this area.
    if (className == u"InfoBrowserHost"_s)
        return new AccessibleShownWidget(widget, QAccessible::Client);
    if (className == u"TPressKey"_s)
        return new AccessiblePressKey(widget);
    // Asked for as they are made (the interface is cached then): known by class, not pointer.
    const bool header = className == u"DayHeaderGrid"_s;
    if (!header && className != u"PictureView"_s)
        return nullptr;
    for (QObject *up = object->parent(); up; up = up->parent()) {
        auto *frame = qobject_cast<TFrame1 *>(up);
        if (!frame)
            continue;
        if (!header)
            return new AccessibleImage(widget);
        AccessibleTextTable::Grid grid;
        grid.columns = DayHeaderTexts::Columns;
        grid.rows = DayHeaderTexts::Rows;
        grid.text = [frame](int column, int row) { return frame->headerText(column, row); };
        grid.cellRect = &TFrame1::headerCellRect;
        return new AccessibleTextTable(widget, std::move(grid));
    }
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&windowInterface);
}

QString figureDescription(int n)
{
    switch (n) {
    case 1:
        return u"指さす女性と驚く女性"_s;
    case 2:
        return u"ウインクしてＶサインをする女性"_s;
    case 3:
        return u"両手を振る元気な女性"_s;
    case 4:
        return u"頬に手を当てて慌てる女性"_s;
    case 5:
        return u"手を合わせて心配する女性"_s;
    }
    return {};
}

void describeWindowControls(const std::function<QWidget *(const char *name)> &control)
{
    auto label = [&](const char *name) { return static_cast<TLabel *>(control(name)); };
    // The fields are named by their row captions, which also label them.
    for (const auto &row : WindowLayout::InputRows) {
        QWidget *field = control(row[1]);
        label(row[0])->setBuddy(field);
        field->setAccessibleName(label(row[0])->text().remove(u' ').remove(u'　'));
        field->setAccessibleDescription(label(row[0])->toolTip());
        field->setFocusPolicy(Qt::StrongFocus);
    }
    // Values read together with their captions.
    for (const auto &pair : WindowLayout::ResultRows)
        label(pair[0])->setBuddy(control(pair[1]));

    for (const char *name : WindowLayout::SexButtons) {
        auto *sex = static_cast<TPictureButton *>(control(name));
        sex->setCheckable(true);
        // The button that is not chosen loses its caption, not its meaning.
        sex->setAccessibleName(sex->caption());
        sex->setAccessibleDescription(control(WindowLayout::SexCaption)->toolTip());
    }
    for (const WindowLayout::Row &row : WindowLayout::controlTable) {
        if (row.kind == WindowLayout::Kind::Button)
            control(row.name)->setFocusPolicy(Qt::StrongFocus);
        // Push buttons keep to the mouse as before: a click does not move the focus to them.
        if (row.kind == WindowLayout::Kind::Push)
            control(row.name)->setFocusPolicy(Qt::TabFocus);
    }
    // The pop-ups that close without answering close with their "×".
    for (const PopupEntry &popup : popupTable()) {
        static_cast<TPanel *>(control(popup.panel))->setKind(popup.kind);
        if (popup.cancel && popup.popup != Popup::Question)
            control(popup.cancel)->setAccessibleName(u"閉じる"_s);
    }
    control(WindowLayout::KeypadPointKey)->setAccessibleName(u"小数点"_s);
    control(WindowLayout::KeypadClearKey)->setAccessibleName(u"クリア"_s);

    auto panel = [&](const char *name) { return static_cast<TPanel *>(control(name)); };
    panel(WindowLayout::KeypadPanel)->setAccessibleName(u"テンキー"_s);
    panel(WindowLayout::DietPanel)
        ->setAccessibleName(
            static_cast<TPictureButton *>(control(WindowLayout::DietButton))->caption().trimmed());
    panel(WindowLayout::GraphToggle)->setKind(TPanel::Toggle);
    panel(WindowLayout::GraphToggle)->setFocusPolicy(Qt::TabFocus);

    // The parked data controls are never seen; hidden, nothing reports them as showing.
    control(WindowLayout::RecordGrid)->hide();
    for (const char *name : WindowLayout::ParkedImages)
        control(name)->hide();

    for (int n = 1; n <= 5; ++n)
        control(WindowLayout::FigureImages[n - 1])->setAccessibleName(figureDescription(n));
}
