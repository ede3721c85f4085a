// SPDX-License-Identifier: GPL-3.0-or-later
#include "RightEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <memory>

TRightEdit::TRightEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Dropped text would bypass both the limit and the key filter.
    setAcceptDrops(false);
}

TRightEdit::~TRightEdit() = default;

void TRightEdit::setTypingLimit(int limit)
{
    limit = qMax(0, limit);
    if (limit == m_typingLimit)
        return;
    m_typingLimit = limit;
    Q_EMIT typingLimitChanged(limit);
}

void TRightEdit::setKeyFilter(KeyFilter filter)
{
    m_keyFilter = std::move(filter);
}

qsizetype TRightEdit::room() const
{
    if (m_typingLimit <= 0)
        return std::numeric_limits<qsizetype>::max();
    // Text set by the program may already be longer than the limit: no room then.
    return qMax<qsizetype>(0, m_typingLimit - (text().size() - selectedText().size()));
}

bool TRightEdit::accepts(const QString &typed) const
{
    if (m_keyFilter) {
        for (QChar c : typed) {
            if (!m_keyFilter(c))
                return false;
        }
    }
    return typed.size() <= room();
}

void TRightEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            pasteWithinLimit();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty()
        && std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    // Control keys (Backspace, Delete, arrows, shortcuts) bypass the filter and the limit.
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        && !isReadOnly() && !accepts(typed)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TRightEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    for (QChar c : commit) {
        if (!m_keyFilter || m_keyFilter(c))
            kept += c;
    }
    kept.truncate(qMin<qsizetype>(kept.size(), room()));
    if (kept == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&limited);
    event->accept();
}

void TRightEdit::pasteWithinLimit()
{
    if (isReadOnly())
        return;
    QString clip = QGuiApplication::clipboard()->text();
    // One line only: the field never holds a line break.
    const qsizetype lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (lineEnd >= 0)
        clip.truncate(lineEnd);
    clip.truncate(qMin<qsizetype>(clip.size(), room()));
    if (clip.isEmpty() && !hasSelectedText())
        return;
    insert(clip);
}

void TRightEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
}

void TRightEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TRightEdit::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The standard paste would ignore the typing limit. Its action is found by Qt's own
    // (translated) text, the tab-separated shortcut removed.
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) == pasteText) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &TRightEdit::pasteWithinLimit);
        }
    }
    menu->exec(event->globalPos());
}

void TRightEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    // Without a frame the caret alone would not show where the keyboard is.
    if (hasFocus()) {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
