#include "startup_fixture.h"

#include "document/project/projectdoc.h"
#include "platform/numberformat.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/qtuiservices.h"

#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using StartupCopy = StartupTest;

TEST_F(StartupCopy, FirstStartCreatesTheUserFoldersAndCopiesEveryShippedFile)
{
    writeLabel(shippedLabels() + "A4 sheet.label", "Sheets");
    writeLabel(shippedLabels() + "AB.label", "Short"); // two characters + extension: copied
    writeFile(shippedLabels() + "ab", "x");            // two characters: never copied
    writeFile(shippedLabels() + "Sub/inner.label", "x");
    writeFile(datafolders::SubFolder(installed, datafolders::kLabelImages) + "A4 sheet.png", "png");
    writeFile(datafolders::SubFolder(installed, datafolders::kLabelInfo) + "A4 sheet.pdf", "pdf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(shippedLabels() + "pipe.label").constData(), 0600), 0);

    auto app = start();
    EXPECT_EQ(app->GetUserDataFolder(), user);
    EXPECT_EQ(app->GetAllUsersDataFolder(), installed);
    EXPECT_EQ(app->GetLabelsFolder(), user + "/Vorteplan/Vorteplan Software V11.0/Labels/");
    EXPECT_TRUE(QFileInfo::exists(userLabels() + "A4 sheet.label"));
    EXPECT_TRUE(QFileInfo::exists(userLabels() + "AB.label"));
    EXPECT_FALSE(QFileInfo::exists(userLabels() + "ab"));
    EXPECT_FALSE(QFileInfo::exists(userLabels() + "Sub"));
    EXPECT_FALSE(QFileInfo::exists(userLabels() + "pipe.label"));
    EXPECT_EQ(readFile(datafolders::SubFolder(user, datafolders::kLabelImages) + "A4 sheet.png"), "png");
    EXPECT_EQ(readFile(datafolders::SubFolder(user, datafolders::kLabelInfo) + "A4 sheet.pdf"), "pdf");
    EXPECT_EQ(app->Catalogue().GetCount(), 2);
}

TEST_F(StartupCopy, SecondStartKeepsTheUsersChangesAndCopiesDeletedFilesAgain)
{
    writeLabel(shippedLabels() + "Changed.label", "Sheets");
    writeLabel(shippedLabels() + "Deleted.label", "Sheets");
    start();
    writeFile(userLabels() + "Changed.label", "mine");
    ASSERT_TRUE(QFile::remove(userLabels() + "Deleted.label"));

    start();
    EXPECT_EQ(readFile(userLabels() + "Changed.label"), "mine");
    EXPECT_EQ(readFile(userLabels() + "Deleted.label"), readFile(shippedLabels() + "Deleted.label"));
}

TEST_F(StartupCopy, TheFirstDataFolderHoldingTheProductIsTheAllUsersOne)
{
    // Nothing installed beside the program, the shipped files under
    // $XDG_DATA_DIRS.
    const QString system = root.filePath("system");
    writeLabel(datafolders::SubFolder(system, datafolders::kLabels) + "System.label", "Sheets");
    auto app = start();
    EXPECT_EQ(app->GetAllUsersDataFolder(), system);
    EXPECT_TRUE(QFileInfo::exists(userLabels() + "System.label"));
}

TEST_F(StartupTest, FamilyComboHoldsTheSortedFamiliesWithoutEmptyEntries)
{
    writeLabel(userLabels() + "one.label", "Wire markers");
    writeLabel(userLabels() + "two.label", "");
    writeLabel(userLabels() + "three.label", "cable tags");
    writeLabel(userLabels() + "four.label", "Wire markers");
    auto app = start();
    QComboBox* combo = app->MainFrame()->Ribbon()->FindCombo(866);
    ASSERT_NE(combo, nullptr);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"cable tags", "Wire markers"}));
}

TEST_F(StartupTest, WithoutArgumentsANewProjectOpens)
{
    bool ok = false;
    auto app = start({}, &ok);
    ASSERT_TRUE(ok);
    const auto children = app->MainFrame()->GetChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->windowTitle(), "Project1");
    EXPECT_TRUE(children[0]->Document().GetPathName().isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupTest, AProjectPathOnTheCommandLineOpensIt)
{
    const QString path = root.filePath("Line 4.proj");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        doc.GetTable(0)->SetCellText(0, 0, "-X1");
        ASSERT_TRUE(doc.WriteProjectFile(path));
    }
    bool ok = false;
    auto app = start({"-style=fusion", path}, &ok);
    ASSERT_TRUE(ok);
    const auto children = app->MainFrame()->GetChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->windowTitle(), "Line 4");
    EXPECT_EQ(children[0]->Document().GetTable(0)->GetCellText(0, 0), "-X1");
    EXPECT_EQ(app->RecentFiles().Paths(), QStringList{path});

    // Opening it again activates the open window.
    EXPECT_EQ(app->OpenDocumentFile(path), children[0]);
    EXPECT_EQ(app->MainFrame()->GetChildren().size(), 1u);
    // The recent list survives into the next start.
    app.reset();
    auto next = start();
    EXPECT_EQ(next->MainFrame()->Ribbon()->RecentFiles(), QStringList{path});
}

TEST_F(StartupTest, AProjectThatCannotBeOpenedEndsStartUp)
{
    bool ok = true;
    start({root.filePath("missing.proj")}, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(ui.messages.empty());
}

TEST_F(StartupTest, SplashClosesOnATimerWhileTheWindowStaysUsable)
{
    auto app = std::make_unique<CVorteplanSoftLabelApp>();
    CVorteplanSoftLabelApp::Options options;
    options.splashMilliseconds = 50;
    QSignalSpy closed(app.get(), &CVorteplanSoftLabelApp::splashClosed);
    ASSERT_TRUE(app->InitInstance({}, options));
    ASSERT_NE(app->Splash(), nullptr);
    EXPECT_TRUE(app->Splash()->IsSplash());
    EXPECT_TRUE(app->MainFrame()->isVisible());
    // Centred by the integer rule: left + (width - splash width) / 2.
    const QRect main = app->MainFrame()->geometry();
    const QRect splash = app->Splash()->geometry();
    EXPECT_EQ(splash.left(), main.left() + (main.width() - splash.width()) / 2);
    EXPECT_EQ(splash.top(), main.top() + (main.height() - splash.height()) / 2);
    EXPECT_TRUE(closed.wait(2000));
    EXPECT_EQ(app->Splash(), nullptr);
}

TEST_F(StartupTest, ContextMenusAreRegisteredByName)
{
    auto app = start();
    CContextMenuManager& menus = app->ContextMenus();
    EXPECT_EQ(menus.GetMenuNames(), (QStringList{"Edit", "Explorer", "Design", "Table", "Preview"}));
    EXPECT_EQ(menus.GetResourceId("Table"), 323);
    std::unique_ptr<QMenu> design(menus.CreatePopup("Design", nullptr));
    ASSERT_NE(design, nullptr);
    QMenu* zoom = nullptr;
    for (QAction* a : design->actions())
        if (a->menu())
            zoom = a->menu();
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->actions().size(), 6);
    // No view claims Cut yet: disabled when the menu opens.
    emit design->aboutToShow();
    EXPECT_FALSE(design->actions().front()->isEnabled());
}

TEST_F(StartupTest, HelpOpensTheInstalledDocumentation)
{
    auto app = start();
    app->Router().Execute(57670);
    ASSERT_EQ(ui.messages.size(), 1u); // nothing installed
    writeFile(installed + "/doc/vorteplan-softlabel/README.md", "# help");
    app->Router().Execute(57670);
    ASSERT_EQ(ui.shellOpens.size(), 1u);
    EXPECT_TRUE(ui.shellOpens[0].endsWith("doc/vorteplan-softlabel/README.md"));
}

// --- settings and locale ---------------------------------------------------------

TEST_F(StartupTest, EmptyProfileGivesTheTableDefaults)
{
    auto app = start();
    using namespace settings;
    EXPECT_EQ(GetText(kDefaultFont, kFontFacename), "Arial");
    EXPECT_EQ(GetInt(kDefaultFont, kFontSize), -13);
    EXPECT_EQ(GetInt(kDefaultFont, kFontWeight), 400);
    EXPECT_EQ(GetInt(kDefaultFont, kFontItalic), 0);
    EXPECT_EQ(GetInt(kDefaultFont, kFontUnderline), 0);
    EXPECT_EQ(GetInt(kDefaultBarcode, kBarcodeModule), 191);
    EXPECT_EQ(GetInt(kDefaultBarcode, kBarcodeHeight), 12700);
    EXPECT_EQ(GetText(kDefaultBarcode, kBarcodeQrEccLevel), "M");
    EXPECT_FALSE(DefaultInt(kDefaultBarcode, kBarcodeSize).has_value());
    EXPECT_EQ(GetInt(kTextImport, kImportDelimiter), ';');
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(2)), 10);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(3)), -1);
    EXPECT_EQ(GetInt(PrinterSection("HP\\LaserJet"), kPrinterLeftCompensation), 0);
    EXPECT_EQ(app->MainFrame()->GetLook(), 214);
    // Start-up writes only the look (the look command stores what it applies).
    EXPECT_EQ(Sections(), std::vector<std::string>{"Workspace"});
}

TEST(NumberLocaleFromEnvironment, TakesLcAllThenLcNumericThenLang)
{
    const NumberLocale saved = CurrentNumberLocale();
    {
        EnvScope all("LC_ALL", "");
        EnvScope numeric("LC_NUMERIC", "de_DE.UTF-8");
        EnvScope lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(CVorteplanSoftLabelApp::NumberLocaleFromEnvironment().decimalSeparator, ',');
    }
    {
        EnvScope all("LC_ALL", "sv_SE.UTF-8@euro");
        EXPECT_EQ(CVorteplanSoftLabelApp::NumberLocaleFromEnvironment().decimalSeparator, ',');
    }
    {
        EnvScope all("LC_ALL", "C");
        EXPECT_EQ(CVorteplanSoftLabelApp::NumberLocaleFromEnvironment().decimalSeparator, '.');
    }
    SetCurrentNumberLocale(saved);
}

TEST_F(StartupTest, GermanUserShowsAndParsesLengthsWithADecimalComma)
{
    const NumberLocale saved = CurrentNumberLocale();
    EnvScope all("LC_ALL", "de_DE.UTF-8");
    auto app = start();
    EXPECT_EQ(CurrentNumberLocale().decimalSeparator, ',');
    QComboBox* module = app->MainFrame()->Ribbon()->FindCombo(791);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->itemText(0), "0,2 mm");
    EXPECT_EQ(numfmt::ParseLeadingNumber("0,25 mm", CurrentNumberLocale().decimalSeparator).value_or(0), 0.25);
    app.reset();
    SetCurrentNumberLocale(saved);
}

} // namespace

TEST_F(StartupTest, HelpSaysWhereTheReadmeIsWhenNothingOpensIt)
{
    writeFile(installed + "/doc/vorteplan-softlabel/README.md", "# Help\n");
    auto app = start();
    ui.messages.clear();
    ui.desktopWorks = false;
    app->OnHelp();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("README.md"), std::string::npos) << ui.messages[0].text;
    ui.desktopWorks = true;
    app->OnHelp();
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(DesktopHandler, NoDesktopToolsMeansNothingOpens)
{
    QTemporaryDir empty;
    EnvScope path("PATH", QFile::encodeName(empty.path()));
    EXPECT_FALSE(CQtUiServices::HasDesktopHandler(empty.filePath("x.md")));
}
