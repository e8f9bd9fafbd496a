#include "story_steps.h"

#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/printdriver.h"
#include "shell/selectlabel/selectlabeldialog.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/grid/gridctrl.h"
#include "support/gridtest.h"
#include "tables/view/vorteplansofttableview.h"

#include "support/print_sheet.h"
#include "support/zbar.h"
#include "support/widgettest.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <algorithm>
#include <iostream>

namespace story {
namespace {

// OK of a dialog: its button box's OK button, else accept().
void ClickOk(QWidget* modal)
{
    auto* dialog = qobject_cast<QDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
    if (auto* box = dialog->findChild<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
            return;
        }
    dialog->accept();
}

std::string CellText(CVorteplanSoftLabelDoc& doc, int row, int column)
{
    return doc.GetTableCellText(row, column);
}

int px(int64_t um, int dpi)
{
    return int((um * dpi + 12700) / 25400);
}

// A word of the printed page and its box in points, from pdftotext -bbox.
struct PlacedWord {
    QString text;
    QRectF box;
};

std::vector<PlacedWord> PageWords(const QString& bboxHtml)
{
    std::vector<PlacedWord> words;
    QXmlStreamReader xml(bboxHtml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("word"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QPointF topLeft(a.value(QLatin1String("xMin")).toDouble(), a.value(QLatin1String("yMin")).toDouble());
        const QPointF bottomRight(a.value(QLatin1String("xMax")).toDouble(), a.value(QLatin1String("yMax")).toDouble());
        words.push_back({xml.readElementText(), QRectF(topLeft, bottomRight)});
    }
    return words;
}

} // namespace

bool StorySteps::claimed(int id) const
{
    for (CCmdTarget* target : app->Router().Chain())
        if (target->HandlesCommand(id))
            return true;
    return false;
}

void StorySteps::viaCommand(int id, const char* what, const std::function<void()>& standIn)
{
    if (claimed(id)) {
        EXPECT_TRUE(command(id)) << what;
        return;
    }
    standIns.push_back(std::to_string(id) + " " + what);
    standIn();
    QApplication::processEvents();
}

void StorySteps::typeInBox(int id, const QString& text, const std::function<void()>& standIn)
{
    if (!claimed(id)) {
        standIns.push_back(std::to_string(id) + " box \"" + text.toStdString() + "\"");
        standIn();
        QApplication::processEvents();
        return;
    }
    CRibbonBar* ribbon = app->MainFrame()->Ribbon();
    if (QComboBox* combo = ribbon->FindCombo(id); combo && combo->isEditable())
        combo->setEditText(text);
    else
        ribbon->SetEditText(id, text);
    EXPECT_TRUE(command(id)) << id;
}

std::vector<WireRow> StorySteps::PrintedRows()
{
    std::vector<WireRow> rows;
    for (const WireRow& row : WorkbookRows())
        if (std::string(row.wire).rfind("SPARE", 0) != 0)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end(),
              [](const WireRow& a, const WireRow& b) { return std::string(a.terminal) > b.terminal; });
    return rows;
}

// --- 1 ---------------------------------------------------------------------------------------

void StorySteps::firstStart(CUiServices& installed, CRecordingUi& script)
{
    ASSERT_FALSE(QFileInfo::exists(userLabels()));
    ASSERT_NO_FATAL_FAILURE(start(installed));
    ASSERT_TRUE(QFileInfo::exists(userLabels() + kStockLabel)) << userLabels().toStdString();
    const QStringList copied = QDir(userLabels()).entryList({QStringLiteral("*.label")}, QDir::Files);
    EXPECT_GE(copied.size(), 7);
    EXPECT_EQ(app->Catalogue().GetCount(), copied.size());
    QComboBox* families = app->MainFrame()->Ribbon()->FindCombo(cmd::kFamilyBox);
    ASSERT_NE(families, nullptr);
    EXPECT_GE(families->findText(QStringLiteral("Sheets A4")), 0);
    EXPECT_TRUE(script.messages.empty());
}

// --- 2 ---------------------------------------------------------------------------------------

CChildFrame* StorySteps::newProjectWithStockLabel()
{
    const size_t before = app->MainFrame()->GetChildren().size();
    EXPECT_TRUE(command(cmd::kFileNew));
    EXPECT_EQ(app->MainFrame()->GetChildren().size(), before + 1);
    CChildFrame* child = activeChild();
    if (!child)
        return nullptr;
    selectStockLabel(child);
    if (HasFatalFailure())
        return nullptr;
    CVorteplanSoftLabelDoc& doc = child->Document();
    EXPECT_TRUE(doc.IsModified());
    return child;
}

void StorySteps::selectStockLabel(CChildFrame* child)
{
    CVorteplanSoftLabelDoc& doc = child->Document();
    ASSERT_NO_FATAL_FAILURE(activateCanvas(child));
    {
        // The dialog lists the catalogue: the stock label's row chosen, OK.
        // The template guide a new label brings up (posted) is closed unused.
        ModalHandler choose(
            [](QWidget* modal) {
                auto* list = modal->findChild<QTreeWidget*>();
                if (!list) {
                    auto* guide = qobject_cast<QDialog*>(modal);
                    ASSERT_NE(guide, nullptr);
                    guide->reject();
                    return;
                }
                const QString name = QString::fromLatin1(kStockLabel).chopped(int(sizeof ".label") - 1);
                QTreeWidgetItem* row = nullptr;
                for (int i = 0; i < list->topLevelItemCount() && !row; ++i)
                    for (int c = 0; c < list->columnCount() && !row; ++c)
                        if (list->topLevelItem(i)->text(c) == name)
                            row = list->topLevelItem(i);
                ASSERT_NE(row, nullptr) << name.toStdString();
                list->setCurrentItem(row);
                ClickOk(modal);
            },
            2);
        viaCommand(cmd::kSelectLabel, "Select label", [&] {
            // What the command does: the dialog, then the chosen file into
            // the current template.
            const std::optional<QString> chosen = CSelectLabelDialog::Choose(canvas(child));
            ASSERT_TRUE(chosen.has_value());
            EXPECT_EQ(QFileInfo(*chosen).fileName(), QString::fromLatin1(kStockLabel));
            EXPECT_TRUE(doc.LoadLabelDefinition(QFile::encodeName(*chosen).toStdString()));
        });
        (void)QTest::qWaitFor([&] { return !claimed(cmd::kSelectLabel) || choose.handled() >= 2; });
        EXPECT_TRUE(choose.done());
    }
    QApplication::processEvents();
    EXPECT_EQ(doc.GetLabelsPerSheet(), 24);
}

// --- 3 ---------------------------------------------------------------------------------------

void StorySteps::insertBoundObjects(CChildFrame* child)
{
    CVorteplanSoftLabelDoc& doc = child->Document();
    ASSERT_NO_FATAL_FAILURE(activateCanvas(child));
    Vorteplan_SoftLabelDesignView* view = canvas(child);
    // Undo and redo put snapshots in the area's place: fetched anew each time.
    const auto area = [&doc]() -> CGraphCollection& { return *doc.GetCurrentTemplate().GetArea(0); };

    struct Insert {
        int command;
        bool qr;
        const char* column;
        int32_t x, y, w, h;
    };
    const Insert inserts[] = {
        {cmd::kInsertText, false, "A", 3000, 2500, 40000, 6000},
        {cmd::kInsertBarcode, false, "B", 3000, 17500, 40000, 16500},
        {cmd::kInsertBarcode, true, "A", 50000, 3000, 15000, 15000},
    };
    for (const Insert& in : inserts) {
        viaCommand(in.command, "Insert", [&] {
            // What Insert text / Insert barcode arm: a text of the first
            // unused column, a barcode of the default type.
            std::unique_ptr<CGraphObject> object;
            if (in.command == cmd::kInsertText) {
                auto text = std::make_unique<CGraphTextExt>();
                text->SetLogFont(doc.GetDefaultFont());
                text->SetSourceColumnText(std::string(1, char('A' + doc.GetFirstUnusedColumn(0))));
                object = std::move(text);
            } else {
                auto barcode = std::make_unique<CGraphBarcode>();
                barcode->SetLogFont(doc.GetDefaultFont());
                object = std::move(barcode);
            }
            EXPECT_TRUE(view->SetPendingObject(std::move(object)));
        });
        ASSERT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseCreate);
        const int before = int(area().GetCount());
        drawOnCanvas(view, in.x, in.y, in.w, in.h);
        ASSERT_EQ(int(area().GetCount()), before + 1);
        CGraphObject* made = area().GetAt(before);
        ASSERT_TRUE(made->IsSelected());
        EXPECT_NEAR(made->GetX(), in.x, 600);
        EXPECT_NEAR(made->GetWidth(), in.w, 600);

        if (in.command == cmd::kInsertBarcode) {
            const std::string type = in.qr ? std::string("QR Code") + '\xAE' : std::string("Code 128");
            typeInBox(cmd::kBarcodeSymbolBox, QString::fromLatin1(type.data(), int(type.size())),
                      [&] { doc.SetBarcodeType(0, type); });
            if (in.qr) // modules of 0.5 mm: the symbol fills most of its box
                typeInBox(cmd::kBarcodeModuleBox, QStringLiteral("0.5"), [&] { doc.SetBarcodeModule(0, 500); });
            // A new barcode shows a constant text: "Table" as its source.
            viaCommand(cmd::kSourceTable, "Table source", [&] { doc.SetDataSource(0, kTextKindTable); });
        }
        typeInBox(cmd::kColumnBox, QString::fromLatin1(in.column), [&] { doc.SelectColumns(0, in.column); });
        std::string column;
        ASSERT_TRUE(made->GetSourceColumnText(column));
        EXPECT_EQ(column, in.column);
    }

    // Move the text 5 mm to the right with the mouse; undo and redo it.
    CGraphObject* text = area().GetAt(0);
    const int32_t x0 = text->GetX();
    const int32_t y0 = text->GetY();
    const QPoint grab = canvasPoint(view, x0 + 20000, y0 + 3000);
    const QPoint drop = canvasPoint(view, x0 + 25000, y0 + 3000);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, grab);
    const QTimer* drag = widgettest::ChildTimer(view, "dragTimer");
    ASSERT_NE(drag, nullptr);
    EXPECT_FALSE(drag->isActive()); // no late drag timer of the click
    // Held past the drag delay, then dragged.
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, grab);
    ASSERT_TRUE(widgettest::WaitForTimer(view, "dragTimer"));
    ASSERT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseMove);
    for (const QPoint p : {(grab + drop) / 2, drop}) {
        QMouseEvent move(QEvent::MouseMove, p, view->viewport()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
    }
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, drop);
    QApplication::processEvents();
    EXPECT_NEAR(text->GetX(), x0 + 5000, 600);
    EXPECT_EQ(text->GetY(), y0);
    const int32_t moved = text->GetX();
    viaCommand(cmd::kEditUndo, "Undo", [&] { doc.Undo(0); });
    text = area().GetAt(0);
    EXPECT_EQ(text->GetX(), x0);
    viaCommand(cmd::kEditRedo, "Redo", [&] { doc.Redo(0); });
    text = area().GetAt(0);
    EXPECT_EQ(text->GetX(), moved);
    EXPECT_EQ(area().GetCount(), 3);
}

// --- 4 ---------------------------------------------------------------------------------------

void StorySteps::importFilterSort(CChildFrame* child, CRecordingUi& ui)
{
    CVorteplanSoftLabelDoc& doc = child->Document();
    ASSERT_NO_FATAL_FAILURE(clickCell(child, 1, 1));
    CVorteplanSoftTableView* view = tableView(child);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(child->GetActiveView(), nullptr);

    // The text file: the sheet opens with the stored choices (";" delimited).
    ui.fileNames.push_back(dataFile("wires.txt"));
    {
        ModalHandler ok(ClickOk);
        EXPECT_TRUE(command(cmd::kImportText));
        EXPECT_TRUE(ok.done());
    }
    ASSERT_EQ(doc.GetTableRowCount(), 3);
    EXPECT_EQ(CellText(doc, 0, 0), "W-101");
    EXPECT_EQ(CellText(doc, 2, 1), "X1-03");

    // The workbook takes the table's place.
    ui.fileNames.push_back(dataFile("wires.xls"));
    {
        ModalHandler ok(ClickOk); // the sheet chooser, if it asks
        EXPECT_TRUE(command(cmd::kImportExcel));
    }
    const auto& rows = WorkbookRows();
    ASSERT_EQ(doc.GetTableRowCount(), int(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(CellText(doc, int(r), 0), rows[r].wire);
        EXPECT_EQ(CellText(doc, int(r), 1), rows[r].terminal);
    }

    // Filter: "exclude" the text SPARE in column A.
    ASSERT_NO_FATAL_FAILURE(clickCell(child, 1, 1));
    ui.answers.push_back(MessageAnswer::Yes); // "do you want to insert a filter?"
    EXPECT_TRUE(command(cmd::kFilterSetup));
    auto* filter = view->findChild<CTableFilterDlg*>();
    ASSERT_NE(filter, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(filter));
    CGridCtrl& fg = *filter->Grid();
    constexpr int kExcludeRow = 9; // function 8, the first exclude text
    gridtest::click(fg, kExcludeRow, 1);
    QTest::keyClick(&fg, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(fg.InPlaceEditor());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("SPARE"));
    QTest::keyClick(editor, Qt::Key_Return);
    if (auto* still = qobject_cast<QLineEdit*>(fg.InPlaceEditor()))
        QTest::keyClick(still, Qt::Key_Escape);
    gridtest::click(fg, kExcludeRow, 2); // its mark for column A
    filter->close();
    QApplication::processEvents();
    if (!doc.IsTableFilterEnabled()) {
        ASSERT_NO_FATAL_FAILURE(clickCell(child, 1, 1));
        EXPECT_TRUE(command(cmd::kFilterEnable));
    }
    ASSERT_TRUE(doc.IsTableFilterEnabled());
    ASSERT_EQ(doc.GetTableRowCount(), int(rows.size()) - 2);

    // Sort column B descending.
    ASSERT_NO_FATAL_FAILURE(clickCell(child, 1, 2));
    EXPECT_TRUE(command(cmd::kSortDescending));
    const std::vector<WireRow> expected = PrintedRows();
    ASSERT_EQ(doc.GetTableRowCount(), int(expected.size()));
    for (size_t r = 0; r < expected.size(); ++r) {
        EXPECT_EQ(CellText(doc, int(r), 0), expected[r].wire) << r;
        EXPECT_EQ(CellText(doc, int(r), 1), expected[r].terminal) << r;
    }
}

// --- 5 ---------------------------------------------------------------------------------------

void StorySteps::printAndRead(CChildFrame* child, const QString& pdf)
{
    constexpr int kDpi = 300;
    QPrinter& printer = CPrintDriver::ApplicationPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(kDpi);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    // Print from the table view (its "Print" goes to the print driver); in
    // the print dialog the user picks the PDF file, whatever queue the
    // dialog offers first. VSL_TEST_PRINT_QUEUE names a queue the run has
    // set up as the default: the dialog must offer it first.
    const QString queue = qEnvironmentVariable("VSL_TEST_PRINT_QUEUE");
    ASSERT_NO_FATAL_FAILURE(clickCell(child, 1, 1));
    {
        ModalHandler print([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
            if (!queue.isEmpty()) {
                EXPECT_EQ(printtest::ChosenQueue(*dialog), queue);
            }
            ASSERT_TRUE(printtest::PrintToFile(*dialog, pdf));
            dialog->accept();
        });
        EXPECT_TRUE(command(cmd::kFilePrint));
        EXPECT_TRUE(print.done());
    }
    ASSERT_TRUE(QFileInfo(pdf).size() > 0) << pdf.toStdString();
    if (!HaveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools missing: the printed PDF is not read back";

    const QString prefix = QFileInfo(pdf).path() + QStringLiteral("/page");
    RunTool(QStringLiteral("pdftoppm"), {"-r", QString::number(kDpi), "-aa", "no", "-aaVector", "no", "-png", "-f", "1",
                                         "-l", "1", "-singlefile", pdf, prefix});
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    const std::vector<WireRow> rows = PrintedRows();
    // Every label cut out of the page, all read by one run of zbarimg; the
    // page's words with their boxes (in points) from one run of pdftotext.
    std::vector<QRect> cells;
    std::vector<QString> pngs;
    for (size_t n = 0; n < rows.size(); ++n) {
        cells.emplace_back(px(int64_t(n % 3) * kLabelWidth, kDpi), px(int64_t(n / 3) * kLabelHeight + kSheetTop, kDpi),
                           px(kLabelWidth, kDpi), px(kLabelHeight, kDpi));
        pngs.push_back(QFileInfo(pdf).path() + QStringLiteral("/label%1.png").arg(n));
        ASSERT_TRUE(page.copy(cells.back()).save(pngs.back()));
    }
    const std::vector<std::vector<testsupport::ZbarSymbol>> symbols = testsupport::ZbarRead(pngs);
    const std::vector<PlacedWord> words =
        PageWords(RunTool(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"}));
    for (size_t n = 0; n < rows.size(); ++n) {
        QStringList found;
        for (const testsupport::ZbarSymbol& s : symbols[n])
            found << QString::fromStdString(s.type + ":" + s.data);
        found.sort();
        EXPECT_EQ(found, (QStringList{QStringLiteral("CODE-128:") + QLatin1String(rows[n].terminal),
                                      QStringLiteral("QR-Code:") + QLatin1String(rows[n].wire)}))
            << "label " << n;
        QString text;
        const QRectF cell(QPointF(cells[n].topLeft()) * 72.0 / kDpi, QSizeF(cells[n].size()) * 72.0 / kDpi);
        for (const PlacedWord& w : words)
            if (cell.contains(w.box.center()))
                text += w.text + QLatin1Char(' ');
        EXPECT_TRUE(text.contains(QLatin1String(rows[n].wire))) << "label " << n << ": " << text.toStdString();
    }
    // Nothing beyond the last row: the next position is blank.
    const size_t next = rows.size();
    const QRect blank(px(int64_t(next % 3) * kLabelWidth, kDpi),
                      px(int64_t(next / 3) * kLabelHeight + kSheetTop, kDpi), px(kLabelWidth, kDpi),
                      px(kLabelHeight, kDpi));
    const QImage empty = page.copy(blank).convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            dark += qGray(empty.pixel(x, y)) < 128;
    EXPECT_EQ(dark, 0);
}

// --- 6 ---------------------------------------------------------------------------------------

void StorySteps::saveCloseReopen(CChildFrame* child, CRecordingUi& ui)
{
    const QString first = path(QStringLiteral("Story.proj"));
    const QString second = path(QStringLiteral("Story again.proj"));
    ui.fileNames.push_back(first);
    EXPECT_TRUE(command(cmd::kFileSave));
    ASSERT_TRUE(QFileInfo::exists(first));
    EXPECT_FALSE(child->Document().IsModified());
    const size_t open = app->MainFrame()->GetChildren().size();
    const size_t questions = ui.questions.size();
    EXPECT_TRUE(command(cmd::kFileClose));
    QApplication::processEvents();
    EXPECT_EQ(app->MainFrame()->GetChildren().size(), open - 1);
    EXPECT_EQ(ui.questions.size(), questions); // saved: nothing to ask

    ASSERT_FALSE(app->RecentFiles().Paths().isEmpty());
    EXPECT_EQ(QFileInfo(app->RecentFiles().Paths().front()).absoluteFilePath(), QFileInfo(first).absoluteFilePath());
    EXPECT_TRUE(command(cmd::kFileMruFirst));
    CChildFrame* reopened = activeChild();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(QFileInfo(reopened->Document().GetPathName()).absoluteFilePath(), QFileInfo(first).absoluteFilePath());
    EXPECT_EQ(reopened->Document().GetTableRowCount(), int(PrintedRows().size()));

    ui.fileNames.push_back(second);
    EXPECT_TRUE(command(cmd::kFileSaveAs));
    QFile a(first);
    QFile b(second);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray bytes = a.readAll();
    EXPECT_GT(bytes.size(), 0);
    EXPECT_TRUE(bytes == b.readAll()) << "the reopened project saves to other bytes";
}

} // namespace story
