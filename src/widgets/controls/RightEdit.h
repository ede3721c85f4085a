// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement field: a one-line edit with its text against the right edge, a length limit
// that binds typing only, a click signal and a hook that may discard typed characters.
#pragma once

#include <QLineEdit>

#include <functional>

class TRightEdit : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRightEdit)
    Q_PROPERTY(int typingLimit READ typingLimit WRITE setTypingLimit NOTIFY typingLimitChanged)
public:
    // Decides for each typed printable character whether it may reach the field.
    using KeyFilter = std::function<bool(QChar)>;

    explicit TRightEdit(QWidget *parent = nullptr);
    ~TRightEdit() override;

    // Longest text the user may type or paste; 0 means no limit. setText() is not bound by it.
    int typingLimit() const { return m_typingLimit; }
    void setTypingLimit(int limit);
    void setKeyFilter(KeyFilter filter);

public Q_SLOTS:
    // Pastes the clipboard's first line, cut to the typing limit.
    void pasteWithinLimit();

Q_SIGNALS:
    void clicked();
    void typingLimitChanged(int limit);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Characters that may still be added when the selection is replaced.
    qsizetype room() const;
    bool accepts(const QString &typed) const;

    int m_typingLimit {0};
    KeyFilter m_keyFilter;
    bool m_leftPressed {false};
};
