#include "shell/codepagevalidator.h"

CCodePageValidator::CCodePageValidator(QObject* parent, int codePage)
    : QValidator(parent), m_codePage(codePage)
{
}

QValidator::State CCodePageValidator::validate(QString& input, int& /*pos*/) const
{
    const bool held = codepage::ToUnicode(codepage::FromUnicode(input, m_codePage), m_codePage) == input;
    return held ? Acceptable : Invalid;
}
