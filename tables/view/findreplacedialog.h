#pragma once
// The modeless "Find" / "Replace" dialog of the table view. It searches
// nothing itself: every button sends a request with the FR_* flags of the
// common find dialog, and closing it sends FR_DIALOGTERM. It deletes itself
// when closed.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Request flags (the values of the common dialog).
constexpr int FR_DOWN = 0x1;
constexpr int FR_WHOLEWORD = 0x2;
constexpr int FR_MATCHCASE = 0x4;
constexpr int FR_FINDNEXT = 0x8;
constexpr int FR_REPLACE = 0x10;
constexpr int FR_REPLACEALL = 0x20;
constexpr int FR_DIALOGTERM = 0x40;

class CFindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // `replace`: the find-and-replace kind; else find only. Empty texts,
    // direction down.
    CFindReplaceDialog(bool replace, QWidget* parent);

    bool IsReplaceKind() const { return m_replaceKind; }
    QLineEdit* FindEdit() const { return m_find; }
    QLineEdit* ReplaceEdit() const { return m_replace; }
    QCheckBox* WholeWordBox() const { return m_wholeWord; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QRadioButton* UpButton() const { return m_up; }
    QPushButton* FindNextButton() const { return m_findNext; }
    QPushButton* ReplaceButton() const { return m_replaceButton; }
    QPushButton* ReplaceAllButton() const { return m_replaceAll; }

signals:
    // `flags`: one of FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL, FR_DIALOGTERM
    // with the option flags.
    void request(int flags, const QString& findText, const QString& replaceText);

protected:
    void done(int result) override;

private:
    void send(int kind);
    void updateButtons();

    bool m_replaceKind;
    bool m_closing = false;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAll = nullptr;
};
