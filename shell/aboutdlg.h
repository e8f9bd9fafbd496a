#pragma once
// The About box: logo, program name, version and a link to the program's
// page. At start-up the same box shows without frame or OK button as the
// splash window.
#include <QDialog>

class CHyperLink;
class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLogoWidth = 216;
    static constexpr int kLogoHeight = 40;

    explicit CAboutDlg(bool splash = false, QWidget* parent = nullptr);

    bool IsSplash() const { return m_splash; }
    // "Version 1.2.3.4" from the program's four-part version.
    static QString VersionText();

    QLabel* Logo() const { return m_logo; }
    CHyperLink* Link() const { return m_link; }
    QPushButton* OkButton() const { return m_ok; }

private:
    bool m_splash;
    QLabel* m_logo;
    CHyperLink* m_link;
    QPushButton* m_ok;
};
