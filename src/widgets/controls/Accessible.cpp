// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessible.h"

#include "Label.h"
#include "Panel.h"
#include "PictBtn.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// "&" marks an accelerator in a caption and is not read; "&&" stands for one "&".
QString stripAmpersands(const QString &caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            text += caption.at(i);
        else if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
            text += caption.at(++i);
    }
    return text.trimmed();
}

bool canAct(const QWidget *widget)
{
    return widget->isEnabled() && widget->isVisible();
}

class AccessibleTextCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    AccessibleTextCell(AccessibleTextTable *table, int column, int row)
        : m_table(table)
        , m_column(column)
        , m_row(row)
    { }

    bool isValid() const override { return m_table->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_table->window(); }
    QAccessibleInterface *parent() const override { return m_table; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_table->cellText(m_column, m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override { return m_table->cellScreenRect(m_column, m_row); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const QAccessible::State table = m_table->state();
        s.invisible = table.invisible;
        s.disabled = table.disabled;
        s.readOnly = true;
        // Column 0 lies left of the frame, most days are scrolled out of it.
        s.offscreen = table.offscreen || !m_table->cellIsShown(m_column, m_row);
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return m_table; }

private:
    AccessibleTextTable *m_table;
    int m_column;
    int m_row;
};

} // namespace

QRect shownPart(const QWidget *widget, QRect area)
{
    const QWidget *window = widget->window();
    for (const QWidget *w = widget; w != window && w->parentWidget(); w = w->parentWidget()) {
        area.translate(w->pos());
        area &= w->parentWidget()->rect();
    }
    return area;
}

bool isOutsideWindow(const QWidget *widget)
{
    return shownPart(widget, widget->rect()).isEmpty();
}

AccessibleShownWidget::AccessibleShownWidget(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{ }

QAccessible::State AccessibleShownWidget::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (!widget()->isVisible())
        s.invisible = true;
    else if (isOutsideWindow(widget()))
        s.offscreen = true;
    return s;
}

// ---- Picture button ------------------------------------------------------------------------

AccessiblePictureButton::AccessiblePictureButton(QWidget *widget)
    : AccessibleShownWidget(widget, QAccessible::Button)
{ }

QAccessible::Role AccessiblePictureButton::role() const
{
    return static_cast<const TPictureButton *>(object())->isCheckable() ? QAccessible::RadioButton
                                                                        : QAccessible::Button;
}

QString AccessiblePictureButton::text(QAccessible::Text t) const
{
    const auto *button = static_cast<const TPictureButton *>(object());
    if (t == QAccessible::Name && button->accessibleName().isEmpty())
        return stripAmpersands(button->caption());
    return AccessibleShownWidget::text(t);
}

QAccessible::State AccessiblePictureButton::state() const
{
    QAccessible::State s = AccessibleShownWidget::state();
    const auto *button = static_cast<const TPictureButton *>(object());
    s.pressed = button->isPressed() && button->pressCancel() == 0;
    s.checkable = button->isCheckable();
    s.checked = button->isChecked();
    return s;
}

QStringList AccessiblePictureButton::actionNames() const
{
    return QStringList {pressAction()} + AccessibleShownWidget::actionNames();
}

void AccessiblePictureButton::doAction(const QString &actionName)
{
    auto *button = static_cast<TPictureButton *>(object());
    if (actionName == pressAction() || actionName == toggleAction()) {
        if (canAct(button))
            button->pressByKey();
        return;
    }
    AccessibleShownWidget::doAction(actionName);
}

QStringList AccessiblePictureButton::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction())
        return {u"Space"_s};
    return AccessibleShownWidget::keyBindingsForAction(actionName);
}

// ---- Panel ---------------------------------------------------------------------------------

AccessiblePanel::AccessiblePanel(QWidget *widget)
    : AccessibleShownWidget(widget, QAccessible::Pane)
{ }

QAccessible::Role AccessiblePanel::role() const
{
    const auto *panel = static_cast<const TPanel *>(object());
    switch (panel->kind()) {
    case TPanel::Popup:
        return QAccessible::Dialog;
    case TPanel::AlertPopup:
        return QAccessible::AlertMessage;
    case TPanel::Toggle:
        return QAccessible::Button;
    case TPanel::Surface:
        break;
    }
    return panel->caption().isEmpty() ? QAccessible::Pane : QAccessible::StaticText;
}

QString AccessiblePanel::text(QAccessible::Text t) const
{
    const auto *panel = static_cast<const TPanel *>(object());
    if (t != QAccessible::Name || !panel->accessibleName().isEmpty())
        return AccessibleShownWidget::text(t);
    if (!panel->caption().isEmpty())
        return stripAmpersands(panel->caption());
    // A pop-up is named by its message, its first line of text.
    if (panel->kind() == TPanel::Popup || panel->kind() == TPanel::AlertPopup) {
        for (const QObject *child : panel->children()) {
            const auto *label = qobject_cast<const QLabel *>(child);
            if (label && !label->isHidden() && !label->text().isEmpty())
                return label->text();
        }
    }
    return {};
}

QAccessible::State AccessiblePanel::state() const
{
    QAccessible::State s = AccessibleShownWidget::state();
    const auto kind = static_cast<const TPanel *>(object())->kind();
    s.modal = kind == TPanel::Popup || kind == TPanel::AlertPopup;
    return s;
}

QStringList AccessiblePanel::actionNames() const
{
    const auto *panel = static_cast<const TPanel *>(object());
    if (panel->kind() == TPanel::Toggle)
        return QStringList {pressAction()} + AccessibleShownWidget::actionNames();
    return AccessibleShownWidget::actionNames();
}

void AccessiblePanel::doAction(const QString &actionName)
{
    auto *panel = static_cast<TPanel *>(object());
    if (panel->kind() == TPanel::Toggle && actionName == pressAction()) {
        if (canAct(panel))
            panel->click();
        return;
    }
    AccessibleShownWidget::doAction(actionName);
}

// ---- Label ---------------------------------------------------------------------------------

AccessibleLabel::AccessibleLabel(QWidget *widget)
    : AccessibleShownWidget(widget, QAccessible::StaticText)
{ }

QString AccessibleLabel::text(QAccessible::Text t) const
{
    const auto *label = static_cast<const QLabel *>(object());
    if (t == QAccessible::Name && label->accessibleName().isEmpty())
        return label->text();
    return AccessibleShownWidget::text(t);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>> AccessibleLabel::relations(
    QAccessible::Relation match) const
{
    auto list = AccessibleShownWidget::relations(match);
    const auto *label = static_cast<const QLabel *>(object());
    if ((match & QAccessible::Labelled) && label->buddy()) {
        if (QAccessibleInterface *buddy = QAccessible::queryAccessibleInterface(label->buddy()))
            list.append({buddy, QAccessible::Labelled});
    }
    return list;
}

// ---- Key acting on a mouse press -----------------------------------------------------------

AccessiblePressKey::AccessiblePressKey(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::Button)
{ }

QString AccessiblePressKey::text(QAccessible::Text t) const
{
    const auto *button = qobject_cast<const QAbstractButton *>(object());
    if (t == QAccessible::Name && button && button->accessibleName().isEmpty())
        return button->text();
    return QAccessibleWidget::text(t);
}

QStringList AccessiblePressKey::actionNames() const
{
    return QStringList {pressAction()} + QAccessibleWidget::actionNames();
}

void AccessiblePressKey::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (canAct(widget()))
        pressWithMouse(widget());
}

void pressWithMouse(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(
        QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(
        QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// ---- Picture -------------------------------------------------------------------------------

AccessibleImage::AccessibleImage(QWidget *widget)
    : AccessibleShownWidget(widget, QAccessible::Graphic)
{ }

void *AccessibleImage::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ImageInterface)
        return static_cast<QAccessibleImageInterface *>(this);
    return AccessibleShownWidget::interface_cast(t);
}

QString AccessibleImage::imageDescription() const
{
    return text(QAccessible::Description);
}

QSize AccessibleImage::imageSize() const
{
    return widget()->size();
}

QPoint AccessibleImage::imagePosition() const
{
    return widget()->mapToGlobal(QPoint(0, 0));
}

// ---- Table of texts ------------------------------------------------------------------------

AccessibleTextTable::AccessibleTextTable(QWidget *widget, Grid grid)
    : AccessibleShownWidget(widget, QAccessible::Table)
    , m_grid(std::move(grid))
{ }

AccessibleTextTable::~AccessibleTextTable()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessible::State AccessibleTextTable::state() const
{
    QAccessible::State s = AccessibleShownWidget::state();
    s.readOnly = true;
    return s;
}

void *AccessibleTextTable::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return AccessibleShownWidget::interface_cast(t);
}

int AccessibleTextTable::childCount() const
{
    return m_grid.columns * m_grid.rows;
}

QAccessibleInterface *AccessibleTextTable::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return cellAt(index / m_grid.columns, index % m_grid.columns);
}

int AccessibleTextTable::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const AccessibleTextCell *>(child);
    if (!cell || cell->table() != this)
        return -1;
    return cell->rowIndex() * m_grid.columns + cell->columnIndex();
}

QAccessibleInterface *AccessibleTextTable::cellAt(int row, int column) const
{
    if (row < 0 || row >= m_grid.rows || column < 0 || column >= m_grid.columns)
        return nullptr;
    const int index = row * m_grid.columns + column;
    if (const auto id = m_cells.value(index))
        return QAccessible::accessibleInterface(id);
    auto *cell = new AccessibleTextCell(const_cast<AccessibleTextTable *>(this), column, row);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

bool AccessibleTextTable::cellIsShown(int column, int row) const
{
    return !shownPart(widget(), m_grid.cellRect(column, row)).isEmpty();
}

QRect AccessibleTextTable::cellScreenRect(int column, int row) const
{
    const QRect local = m_grid.cellRect(column, row);
    return QRect(widget()->mapToGlobal(local.topLeft()), local.size());
}

// ---- Factory -------------------------------------------------------------------------------

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == u"TPictureButton"_s)
        return new AccessiblePictureButton(widget);
    if (className == u"TPanel"_s)
        return new AccessiblePanel(widget);
    if (className == u"TLabel"_s)
        return new AccessibleLabel(widget);
    return nullptr;
}
