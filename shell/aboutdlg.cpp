#include "shell/aboutdlg.h"

#include "resources/resources.h"
#include "resources/version.h"
#include "shell/hyperlink.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

QString CAboutDlg::VersionText()
{
    return QString::asprintf("Version %d.%d.%d.%d", appversion::kMajor, appversion::kMinor, appversion::kPatch,
                             appversion::kBuild);
}

CAboutDlg::CAboutDlg(bool splash, QWidget* parent)
    : QDialog(parent), m_splash(splash)
{
    appresources::Init();
    setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(appversion::kProductName)));

    m_logo = new QLabel(this);
    m_logo->setFixedSize(kLogoWidth, kLogoHeight);
    m_logo->setPixmap(QPixmap(QLatin1String(appresources::kLogo))
                          .scaled(kLogoWidth, kLogoHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    auto* name = new QLabel(QLatin1String(appversion::kProductName), this);
    auto* version = new QLabel(VersionText(), this);
    m_link = new CHyperLink(this);
    m_link->SetDefaultURL();
    m_link->SetText(QStringLiteral("README"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addWidget(m_link);
    auto* top = new QHBoxLayout;
    top->addWidget(m_logo, 0, Qt::AlignTop);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    if (m_splash) {
        // No caption, system menu or frame; shown modeless by the caller.
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        m_ok->hide();
        setWindowTitle(QLatin1String(appversion::kProductName));
    }
    m_ok->setFocus();
}
