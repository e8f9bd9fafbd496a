#include "shell/inplaceedit.h"

#include "platform/codepage.h"
#include "platform/font.h"
#include "platform/modeltext.h"

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
