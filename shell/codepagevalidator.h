#pragma once
// Refuses characters the Windows code page cannot hold, so that what the
// user types into an edit is exactly what the model stores as bytes (a
// character outside the page would otherwise be stored as '?').
#include "platform/codepage.h"

#include <QValidator>

class CCodePageValidator : public QValidator {
    Q_OBJECT
public:
    explicit CCodePageValidator(QObject* parent = nullptr, int codePage = codepage::kAnsi);

    State validate(QString& input, int& pos) const override;

private:
    int m_codePage;
};
