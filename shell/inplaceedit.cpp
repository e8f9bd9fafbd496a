#include "shell/inplaceedit.h"

#include "platform/codepage.h"
#include "platform/font.h"
#include "platform/modeltext.h"

#include <QKeyEvent>

CInPlaceEdit::CInPlaceEdit(const LOGFONTA& font, QWidget* parent)
    : QTextEdit(parent), m_logFont(font)
{
    setAcceptRichText(false);
    setFont(gdifont::ToQFont(m_logFont, this));
}

std::string CInPlaceEdit::GetText() const
{
    return modeltext::FromEditor(toPlainText(), codepage::ForCharset(m_logFont.lfCharSet));
}

void CInPlaceEdit::SetText(const std::string& bytes)
{
    setPlainText(modeltext::ToEditor(bytes, codepage::ForCharset(m_logFont.lfCharSet)));
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        emit escaped();
        return;
    }
    QTextEdit::keyPressEvent(event);
}
