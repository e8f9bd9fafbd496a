// The program started with a file it cannot open says why before it ends;
// the print verbs without a screen end with their message (or question,
// answered with its default) on standard error instead of waiting on a
// message box, print nothing of a project read in part, and answer missing
// or left-over arguments with the usage; without a display only --help and
// --version run, everything else says why and ends with status 1; the
// README and the launcher call the program what it calls itself (the real
// program, run as a subprocess).
#include "story_fixture.h"

#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "resources/version.h"
#include "support/print_sheet.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <chrono>

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

// The real program started with `arguments` in the test's data and
// configuration folders, without a display: no DISPLAY, no Wayland socket,
// no platform named, except what `env` sets.
class RunningProgram {
public:
    RunningProgram(const QString& root, const QStringList& arguments,
                   const std::vector<std::pair<QString, QString>>& env = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/home/.config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/home/.local/share"));
        for (const auto& [name, value] : env)
            environment.insert(name, value);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(VSL_APP_BINARY), arguments);
    }
    // Waits for the end, at most until `guard` runs out: a guard only, a
    // program waiting on a box or a display would never end.
    ProcessRun finish(QDeadlineTimer guard)
    {
        ProcessRun r;
        r.finished = m_process.waitForStarted() &&
                     m_process.waitForFinished(int(std::max<qint64>(guard.remainingTime(), 1)));
        if (!r.finished) {
            m_process.kill();
            m_process.waitForFinished();
        }
        r.crashed = m_process.exitStatus() == QProcess::CrashExit;
        r.exitCode = m_process.exitCode();
        r.output = QString::fromLocal8Bit(m_process.readAllStandardOutput());
        r.errors = QString::fromLocal8Bit(m_process.readAllStandardError());
        return r;
    }

private:
    QProcess m_process;
};

ProcessRun runProgram(const QString& root, const QStringList& arguments,
                      const std::vector<std::pair<QString, QString>>& env = {})
{
    return RunningProgram(root, arguments, env).finish(QDeadlineTimer(std::chrono::minutes(3)));
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
    // A project that prints.
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        printtest::BuildSheet(doc, 3);
        ASSERT_TRUE(doc.WriteProjectFile(path("job.proj")));
        ASSERT_TRUE(doc.SaveByExtension(path("rows.tbf")));
    }
    // A project whose label definition has no positions cannot print.
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetRows(0);
        doc.GetCurrentTemplate().SetLabel(std::move(label));
        ASSERT_TRUE(doc.WriteProjectFile(path("cannot.proj")));
    }
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
    // The example cut short: its first rows are whole, the rest is missing.
    {
        QFile example(QStringLiteral(VSL_EXAMPLE_PROJECT));
        ASSERT_TRUE(example.open(QIODevice::ReadOnly));
        const QByteArray bytes = example.readAll();
        ASSERT_GT(bytes.size(), 7000);
        writeFile(QStringLiteral("cut.proj"), bytes.left(7000));
        writeFile(QStringLiteral("newer.proj"), bytes.left(16) + QByteArray("\x0c\0\0\0", 4) + bytes.mid(20));
    }
    writeFile(QStringLiteral("text.proj"), "a plain text file\n");
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("folder.proj")));

    // Where a printer is offered (a run with its own queue, which fails when
    // a job reaches it), the refused projects name it: nothing may be sent.
    const QString queue = qEnvironmentVariable("VSL_TEST_PRINT_QUEUE", QStringLiteral("no-such-queue"));
    const QString job = path("job.proj");
    const QString usage = QStringLiteral("Usage: vorteplan-softlabel /p PROJECT\n"
                                         "       vorteplan-softlabel /pt PROJECT PRINTER\n");
    const QString noPositions = QStringLiteral("The label definition has no label positions: rows, columns and "
                                               "vertical blocks must be at least 1 and the label must have a "
                                               "width and a height.\n");
    const QString asks = QStringLiteral("Row 2: the barcode cannot encode \"ArticleNo\". Print anyway?\n");
    const QString corrupt = QStringLiteral("Corrupt project file\n");
    struct Case {
        QStringList arguments;
        int exitCode;
        QString errors; // all that standard error holds
    };
    const std::vector<Case> cases = {
        // The project keeps the run from printing.
        {{"/pt", path("cannot.proj"), queue}, 1, noPositions},
        {{"/p", path("cannot.proj")}, 1, noPositions},
        {{"/pt", path("asks.proj"), queue}, 1, asks},
        {{"/p", path("asks.proj")}, 1, asks},
        // A project read in part prints nothing.
        {{"/pt", path("cut.proj"), queue}, 1, corrupt},
        {{"/p", path("cut.proj")}, 1, corrupt},
        // Every other file the open refuses.
        {{"/pt", path("gone.proj"), queue}, 1, "Can not open file " + path("gone.proj") + "\n"},
        {{"/p", path("folder.proj")}, 1, "Can not open file " + path("folder.proj") + "\n"},
        {{"/p", root.path()}, 1, "Can not open file " + root.path() + "\n"},
        {{"/pt", QStringLiteral("/dev/zero"), queue}, 1, QStringLiteral("Can not open file /dev/zero\n")},
        {{"/p", path("text.proj")}, 1, path("text.proj") + " is not a project file.\n"},
        {{"/pt", path("newer.proj"), queue}, 1, QStringLiteral("Incompatible file version\n")},
        {{"/p", path("rows.tbf")}, 1, path("rows.tbf") + " is not a project file.\n"},
        // The printer.
        {{"/pt", job, "no-such-queue"}, 1, QStringLiteral("The printer 'no-such-queue' is not available.\n")},
        // Arguments missing, left over or misspelt: the usage, and no main window.
        {{"/p"}, 1, "/p needs the project to print.\n" + usage},
        {{"/pt"}, 1, "/pt needs the project to print and the printer.\n" + usage},
        {{"/pt", job}, 1, "/pt needs the project to print and the printer.\n" + usage},
        {{"/p", job, queue}, 1, "/p takes the project to print only.\n" + usage},
        {{"/pt", job, queue, "driver", "port"}, 1, "/pt takes the project to print and the printer only.\n" + usage},
        {{"/P", job}, 1, "Unknown option /P: the print commands are /p and /pt.\n" + usage},
        {{"/PT", job, queue}, 1, "Unknown option /PT: the print commands are /p and /pt.\n" + usage},
    };
    // All at once: a run that waits for an answer nobody can give fails
    // its row when the guard runs out instead of holding up the others.
    std::vector<std::unique_ptr<RunningProgram>> runs;
    for (const Case& c : cases)
        runs.push_back(std::make_unique<RunningProgram>(
            root.path(), c.arguments,
            std::vector<std::pair<QString, QString>>{{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}}));
    QDeadlineTimer guard(std::chrono::minutes(3));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].arguments.join(' ').toStdString());
        const ProcessRun r = runs[i]->finish(guard);
        EXPECT_TRUE(r.finished);
        if (!r.finished)
            continue;
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, cases[i].exitCode);
        EXPECT_EQ(r.errors.toStdString(), cases[i].errors.toStdString());
        EXPECT_TRUE(r.output.isEmpty()) << r.output.toStdString();
    }
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
