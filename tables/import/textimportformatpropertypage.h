#pragma once
// "Format" page of the text import: delimited or fixed-length fields.
#include <QWidget>

class QButtonGroup;

class CTextImportFormatPropertyPage : public QWidget {
    Q_OBJECT
public:
    enum { Delimited = 0, FixedLength = 1 };

    explicit CTextImportFormatPropertyPage(QWidget* parent = nullptr);

    void SetFormat(int format);
    int GetFormat() const;

private:
    QButtonGroup* m_group;
};
