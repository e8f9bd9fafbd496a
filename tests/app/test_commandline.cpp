// The program started with a file it cannot open says why before it ends;
// the print verbs without a screen end with their message (or question,
// answered with its default) on standard error instead of waiting on a
// message box (the real program, run as a subprocess).
#include "story_fixture.h"

#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "support/print_sheet.h"

#include <QFile>
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
    QString errors;
};

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
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("home/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("home/.local/share"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VSL_APP_BINARY), arguments);
        ProcessRun r;
        // A guard only: a verb waiting on a box would never end.
        r.finished = process.waitForStarted() && process.waitForFinished(180000);
        if (!r.finished)
            process.kill();
        r.exitCode = process.exitCode();
        r.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return r;
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

} // namespace story
