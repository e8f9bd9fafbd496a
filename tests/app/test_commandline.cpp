// The program started with a file it cannot open says why before it ends;
// the print verbs without a screen end with their message (or question,
// answered with its default) on standard error instead of waiting on a
// message box; without a display only --help and --version run, everything
// else says why and ends with status 1; the README and the launcher call the
// program what it calls itself (the real program, run as a subprocess).
#include "story_fixture.h"

#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "resources/version.h"
#include "support/print_sheet.h"

#include <QFile>
#include <QRegularExpression>
#include <QProcess>
#include <QProcessEnvironment>

namespace story {
namespace {

class CommandLine : public StoryTest {
protected:
    // Starts the application object as main() does with `arguments`; the
    // answer of its start-up.
    bool startWith(const QString& argument)
    {
        previousUi = SetUi(&ui);
        app = std::make_unique<CVorteplanSoftLabelApp>();
        CVorteplanSoftLabelApp::Options options;
        options.showSplash = false;
        options.showWindow = false;
        return app->InitInstance({argument}, options);
    }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    CRecordingUi ui;
};

struct ProcessRun {
    int exitCode = -1;
    bool finished = false;
    bool crashed = false;
    QString output;
    QString errors;
};

// Runs the real program with `arguments` in the test's data and
// configuration folders, without a display: no DISPLAY, no Wayland socket,
// no platform named, except what `env` sets.
ProcessRun runProgram(const QString& root, const QStringList& arguments,
                      const std::vector<std::pair<QString, QString>>& env = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/home/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/home/.local/share"));
    for (const auto& [name, value] : env)
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VSL_APP_BINARY), arguments);
    ProcessRun r;
    // A guard only: a program waiting on a box or a display would never end.
    r.finished = process.waitForStarted() && process.waitForFinished(180000);
    if (!r.finished)
        process.kill();
    r.crashed = process.exitStatus() == QProcess::CrashExit;
    r.exitCode = process.exitCode();
    r.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    r.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return r;
}

} // namespace

TEST_F(CommandLine, AFileThatCannotBeOpenedIsNamedBeforeTheProgramEnds)
{
    writeFile(QStringLiteral("notes.txt"), "a plain text file\n");
    writeFile(QStringLiteral("data.tbl"), "neither\r\n");
    writeFile(QStringLiteral("text.proj"), "a plain text file\n");
    struct Case {
        QString argument;
        std::string message;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/dev/zero"), "Can not open file /dev/zero"},
        {path("notes.txt"), QFile::encodeName(path("notes.txt")).toStdString() + " is not a project file."},
        {path("text.proj"), QFile::encodeName(path("text.proj")).toStdString() + " is not a project file."},
        {path("data.tbl"), "Corrupt file or wrong file version"},
        {path("missing.proj"), "Can not open file " + QFile::encodeName(path("missing.proj")).toStdString()},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(startWith(c.argument)) << c.argument.toStdString();
        ASSERT_EQ(ui.messages.size(), 1u) << c.argument.toStdString();
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        app.reset();
        SetUi(previousUi);
    }
}

TEST_F(CommandLine, PrintVerbsWithoutAScreenEndWithTheirMessageOnStandardError)
{
    // A project whose label definition has no positions cannot print.
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetRows(0);
        doc.GetCurrentTemplate().SetLabel(std::move(label));
        ASSERT_TRUE(doc.WriteProjectFile(path("cannot.proj")));
    }
    const auto run = [&](const QStringList& arguments) {
        return runProgram(root.path(), arguments, {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}});
    };
    // A project whose Code 39 cannot carry row 2: the question is answered
    // with its default, No.
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        printtest::BuildSheet(doc, 3);
        for (const auto& o : doc.GetCurrentTemplate().GetArea(0)->Objects())
            if (auto* barcode = dynamic_cast<CGraphBarcode*>(o.get()); barcode && !barcode->Is2D())
                barcode->SetSymbologyName("Code 39");
        doc.GetTable(0)->SetCellText(1, 2, "ArticleNo");
        ASSERT_TRUE(doc.WriteProjectFile(path("asks.proj")));
    }
    const QString noPositions = QStringLiteral("The label definition has no label positions");
    const QString asks = QStringLiteral("Row 2: the barcode cannot encode \"ArticleNo\". Print anyway?");
    const std::pair<QStringList, QString> cases[] = {
        {{"/pt", path("cannot.proj"), "no-such-queue"}, noPositions},
        {{"/p", path("cannot.proj")}, noPositions},
        {{"/pt", path("asks.proj"), "no-such-queue"}, asks},
        {{"/p", path("asks.proj")}, asks},
    };
    for (const auto& [arguments, message] : cases) {
        const ProcessRun r = run(arguments);
        ASSERT_TRUE(r.finished) << arguments.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.errors.contains(message)) << r.errors.toStdString();
        EXPECT_FALSE(r.errors.contains(QStringLiteral("Sanitizer"))) << r.errors.toStdString();
    }
    // A project that cannot be opened says so the same way.
    const ProcessRun missing = run({"/pt", path("gone.proj"), "no-such-queue"});
    ASSERT_TRUE(missing.finished);
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.errors.contains(QStringLiteral("Can not open file ") + path("gone.proj"))) << missing.errors.toStdString();
}

TEST_F(CommandLine, WithoutADisplayHelpAndVersionAnswerAndAnyOtherStartSaysWhy)
{
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.WriteProjectFile(path("job.proj")));
    }
    const QString job = path("job.proj");
    const QString noDisplay = QStringLiteral("cannot open its main window: no display is set");
    struct Case {
        QStringList arguments;
        std::vector<std::pair<QString, QString>> env;
        int exitCode;
        QString output; // what standard output holds
        QString errors; // what standard error holds; empty: nothing at all
    };
    const QString platform = QStringLiteral("QT_QPA_PLATFORM");
    const std::vector<Case> cases = {
        {{"--help"}, {}, 0, QStringLiteral("/pt PROJECT PRINTER"), {}},
        {{job, "--help"}, {{platform, "xcb"}}, 0, QStringLiteral("/p PROJECT"), {}},
        {{"--version"}, {}, 0, QLatin1String(appversion::kProductName), {}},
        {{}, {}, 1, {}, noDisplay},
        {{job}, {{platform, "xcb"}}, 1, {}, noDisplay},
        {{"/p", job}, {}, 1, {}, QStringLiteral("/p or /pt needs no display: run it with QT_QPA_PLATFORM=offscreen")},
        {{"-platform", "xcb", job}, {{platform, "offscreen"}}, 1, {}, noDisplay},
        {{job}, {{platform, "wayland;xcb"}}, 1, {}, noDisplay},
        // A display that cannot be opened: the toolkit gives up, the program says why.
        {{job}, {{"DISPLAY", "nodisplay"}}, 1, {}, QStringLiteral("main window: the display could not be opened")},
    };
    for (const Case& c : cases) {
        const std::string what = c.arguments.join(' ').toStdString() + " with " +
                                 (c.env.empty() ? std::string("nothing set") : c.env[0].second.toStdString());
        SCOPED_TRACE(what);
        const ProcessRun r = runProgram(root.path(), c.arguments, c.env);
        ASSERT_TRUE(r.finished);
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.errors.toStdString();
        if (c.output.isEmpty())
            EXPECT_TRUE(r.output.isEmpty()) << r.output.toStdString();
        else
            EXPECT_TRUE(r.output.contains(c.output)) << r.output.toStdString();
        if (c.errors.isEmpty())
            EXPECT_TRUE(r.errors.isEmpty()) << r.errors.toStdString();
        else
            EXPECT_TRUE(r.errors.contains(c.errors)) << r.errors.toStdString();
    }
}

TEST_F(CommandLine, TheReadmeAndTheLauncherCallTheProgramWhatItCallsItself)
{
    // The application title of the windows, the About box and --version.
    const QString name = QLatin1String(appversion::kProductName);

    QFile readme(QStringLiteral(VSL_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(readme.readLine()).trimmed().toStdString(), (QStringLiteral("# ") + name).toStdString());

    QFile launcher(QStringLiteral(VSL_BUILD_SHARE_DIR "/applications/vorteplan-softlabel.desktop"));
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch entry =
        QRegularExpression(QStringLiteral("^Name=(.*)$"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(launcher.readAll()));
    ASSERT_TRUE(entry.hasMatch());
    EXPECT_EQ(entry.captured(1).toStdString(), name.toStdString());
}

} // namespace story
