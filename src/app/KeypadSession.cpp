// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeypadSession.h"

#include "WindowLayout.h"
#include "assessment/InputRules.h"
#include "colors/BgrColor.h"
#include "controls/RightEdit.h"

namespace {
void setFieldColour(TRightEdit *field, quint32 colour)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, bgrColor(colour));
    field->setPalette(p);
}
} // namespace

KeypadSession::KeypadSession(std::array<TRightEdit *, 4> fields)
    : m_fields(fields)
{ }

TRightEdit *KeypadSession::edit() const
{
    return m_field >= 1 && m_field <= 4 ? m_fields[m_field - 1] : nullptr;
}

void KeypadSession::open(int field)
{
    m_field = field;
    TRightEdit *e = edit();
    setFieldColour(e, WindowLayout::KeypadFieldColour);
    m_savedText = e->text();
    e->setText(QString());
}

void KeypadSession::close()
{
    for (TRightEdit *field : m_fields)
        setFieldColour(field, quint32(WindowLayout::row(WindowLayout::InputRows[0][1]).colour));
}

void KeypadSession::append(QChar key)
{
    if (TRightEdit *e = edit())
        e->setText(InputRules::keypadAppend(m_field, e->text(), key));
}

void KeypadSession::clear()
{
    if (TRightEdit *e = edit())
        e->setText(QString());
}

void KeypadSession::restore()
{
    if (TRightEdit *e = edit())
        e->setText(m_savedText);
}
