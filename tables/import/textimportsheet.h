#pragma once
// "Text import": the layout of a text file to import, on four pages
// (format, delimiter, fixed length, character set). Nothing happens before
// OK; the caller reads the pages afterwards.
#include "document/project/textimport.h"

#include <QDialog>

class CTextImportCharacterSetPropertyPage;
class CTextImportDelimiterPropertyPage;
class CTextImportFixedLengthPropertyPage;
class CTextImportFormatPropertyPage;
class QDialogButtonBox;
class QTabWidget;

class CTextImportSheet : public QDialog {
    Q_OBJECT
public:
    // `tableCodePage`: the code page of the table's cells, which an ANSI
    // file's delimiter is compared in (OEM files: code page 850).
    explicit CTextImportSheet(int tableCodePage, QWidget* parent = nullptr);

    // The pages set from stored choices.
    void Load(const textimport::Options& options);
    // The choices after OK, with the delimiter as a byte of the file's code
    // page.
    textimport::Options Result() const;
    // The widths as typed (-1: not imported; not range-checked).
    std::array<int32_t, textimport::kColumns> TypedWidths() const;

    CTextImportFormatPropertyPage* FormatPage() const { return m_format; }
    CTextImportDelimiterPropertyPage* DelimiterPage() const { return m_delimiter; }
    CTextImportFixedLengthPropertyPage* FixedLengthPage() const { return m_fixedLength; }
    CTextImportCharacterSetPropertyPage* CharacterSetPage() const { return m_charSet; }
    QTabWidget* Tabs() const { return m_tabs; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    // Refuses (beep, the Delimiter page shown) an Other delimiter that the
    // file's code page cannot hold in one byte.
    void accept() override;

private:
    int fileCodePage() const;

    int m_tableCodePage;
    QTabWidget* m_tabs;
    CTextImportFormatPropertyPage* m_format;
    CTextImportDelimiterPropertyPage* m_delimiter;
    CTextImportFixedLengthPropertyPage* m_fixedLength;
    CTextImportCharacterSetPropertyPage* m_charSet;
    QDialogButtonBox* m_buttons;
    char m_delimiterChar = ';';
};
