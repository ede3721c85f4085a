// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology hears of the drawn controls: one QAccessibleWidget subclass per kind
// of control, made by accessibleControl(), which the application's one factory asks first.
#pragma once

#include <QAccessibleWidget>
#include <QHash>

#include <functional>

// The part of area (in the widget's coordinates) that its window shows, in the window's
// coordinates; empty when it lies outside the window or is clipped away by a parent.
QRect shownPart(const QWidget *widget, QRect area);
// True when no part of the widget can be seen inside its window: parked outside it, below the
// compact window's edge or scrolled out of a frame.
bool isOutsideWindow(const QWidget *widget);

// A widget that reports itself off screen when it lies outside its window.
class AccessibleShownWidget : public QAccessibleWidget
{
public:
    explicit AccessibleShownWidget(QWidget *widget, QAccessible::Role role = QAccessible::Client);
    QAccessible::State state() const override;
};

// The picture button: a push button named by its caption (a choice where it is checkable).
class AccessiblePictureButton : public AccessibleShownWidget
{
public:
    explicit AccessiblePictureButton(QWidget *widget);
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;
};

// A panel: a surface, a pop-up dialogue named by its first line of text, an alert, or a toggle.
class AccessiblePanel : public AccessibleShownWidget
{
public:
    explicit AccessiblePanel(QWidget *widget);
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};

// A label: static text, labelling its buddy.
class AccessibleLabel : public AccessibleShownWidget
{
public:
    explicit AccessibleLabel(QWidget *widget);
    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(
        QAccessible::Relation match = QAccessible::AllRelations) const override;
};

// A push button that acts when a mouse button goes down on it: pressing it from assistive
// technology presses and releases the left button on it, so it acts exactly as for the mouse.
class AccessiblePressKey : public QAccessibleWidget
{
public:
    explicit AccessiblePressKey(QWidget *widget);
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};

// A picture, named by the widget's accessible name and described by its description.
class AccessibleImage : public AccessibleShownWidget, public QAccessibleImageInterface
{
public:
    explicit AccessibleImage(QWidget *widget);
    void *interface_cast(QAccessible::InterfaceType t) override;
    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;
};

// A grid of texts drawn by hand, read as a table whose cells are its texts.
class AccessibleTextTable : public AccessibleShownWidget, public QAccessibleTableInterface
{
public:
    struct Grid
    {
        int columns = 0;
        int rows = 0;
        std::function<QString(int column, int row)> text;
        std::function<QRect(int column, int row)> cellRect; // in the widget's coordinates
    };
    AccessibleTextTable(QWidget *widget, Grid grid);
    ~AccessibleTextTable() override;

    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return m_grid.columns; }
    int rowCount() const override { return m_grid.rows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

    QString cellText(int column, int row) const { return m_grid.text(column, row); }
    QRect cellScreenRect(int column, int row) const;
    bool cellIsShown(int column, int row) const;

private:
    Grid m_grid;
    mutable QHash<int, QAccessible::Id> m_cells;
};

// Presses and releases the left mouse button at the widget's centre, for a control that acts on
// the mouse going down.
void pressWithMouse(QWidget *widget);

// The interface of a drawn control, or nullptr when className is none of them.
QAccessibleInterface *accessibleControl(const QString &className, QObject *object);
