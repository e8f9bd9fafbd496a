#pragma once
// "Character set" page of the text import: the file is ANSI or OEM text.
#include <QWidget>

class QButtonGroup;

class CTextImportCharacterSetPropertyPage : public QWidget {
    Q_OBJECT
public:
    enum { Ansi = 0, Oem = 1 };

    explicit CTextImportCharacterSetPropertyPage(QWidget* parent = nullptr);

    void SetCharacterSet(int charSet);
    int GetCharacterSet() const;

private:
    QButtonGroup* m_group;
};
