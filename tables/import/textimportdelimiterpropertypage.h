#pragma once
// "Delimiter" page of the text import: comma, TAB or another character.
#include <QWidget>

#include <optional>

class QButtonGroup;
class QLineEdit;

class CTextImportDelimiterPropertyPage : public QWidget {
    Q_OBJECT
public:
    enum { Comma = 0, Tab = 1, Other = 2 };

    explicit CTextImportDelimiterPropertyPage(QWidget* parent = nullptr);

    // TAB and ',' choose their buttons; any other byte chooses Other with
    // that character (decoded from `codePage`) as the text, the byte 0 with
    // an empty text.
    void SetDelimiterChar(char delimiter, int codePage);
    int GetChoice() const;
    QLineEdit* OtherEdit() const { return m_other; }

    // The delimiter as a byte in `codePage`: ',', TAB, or the first
    // character of the Other text (0 when the text is empty). Nothing when
    // the page cannot hold that character in one byte.
    std::optional<char> GetDelimiterChar(int codePage) const;

private:
    QButtonGroup* m_group;
    QLineEdit* m_other;
};
