#pragma once
// The editor laid over a text object of the design canvas for typing
// straight into it, in the object's font. Escape ends the edit (escaped):
// whoever opened the editor closes it and takes its text.
#include "platform/windef.h"

#include <QTextEdit>

#include <string>

class CInPlaceEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit CInPlaceEdit(const LOGFONTA& font, QWidget* parent = nullptr);

    const LOGFONTA& GetLogFont() const { return m_logFont; }

    // The text as bytes in the code page of the font's character set, with
    // CR LF between lines as the model keeps them.
    std::string GetText() const;
    void SetText(const std::string& bytes);

signals:
    void escaped();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    LOGFONTA m_logFont;
};
