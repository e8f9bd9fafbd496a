// The .label file, the embedded body and the stored printer settings.
#include "document/label/labelfile.h"
#include "platform/recordingui.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

namespace {

using testsupport::Bytes;

struct ExpectedLabel {
    std::string family = "Wire";
    int32_t width = 70000, height = 37000;
    uint32_t markingTypes = 63;
    std::string device, driver, port;
    uint32_t printerTypes = 0x8000000D;
    bool moduleMarking = false;
    std::string settingsBlock; // whole block, with its five words
    std::vector<std::string> articleNumbers;
    bool articleGeneration = false;
};

// The file image of a definition as the format lays it out.
std::string labelFileImage(const ExpectedLabel& e)
{
    Bytes o;
    if (e.articleGeneration)
        o.raw("lblF").u32(110).u32(3);
    else
        o.raw("LBLF").u32(90).u32(3);
    // CLabel record, 106 bytes.
    o.u8(1).u8(uint8_t(e.family.size())).field(e.family, 65);
    o.u32(uint32_t(e.width)).u32(uint32_t(e.height)).u32(uint32_t(e.height)).u32(uint32_t(e.width));
    o.u32(3).u32(8).u32(0).u32(500).u32(0).u8(1).u16(1);
    o.u16(0).u32(0);                 // shape, radius
    o.u16(1).u16(9).u16(600).u16(900); // orientation, A4, paper size as constructed
    o.u32(e.markingTypes);
    for (int part = 0; part < 2; ++part)
        o.u8(0).u32(0).u32(0).u32(0).u32(0);
    o.field("", 256).field("", 256).u8(0).u16(0);
    o.field(e.device, 81).field(e.driver, 81).field(e.port, 81);
    o.u8(e.settingsBlock.empty() ? 0 : 1).u32(e.printerTypes).u8(e.moduleMarking ? 1 : 0);
    o.field("", 90);
    o.raw(e.settingsBlock);
    if (e.articleGeneration) {
        o.field("", 32).u32(uint32_t(e.articleNumbers.size()));
        for (const std::string& n : e.articleNumbers)
            o.field(n, 50);
    }
    return o.s;
}

std::string settingsBlock(uint32_t major, uint32_t minor, uint32_t platform, const std::string& devmode,
                          uint32_t extra = 0)
{
    Bytes o;
    o.u32(major).u32(minor).u32(platform).u32(uint32_t(devmode.size()) - extra).u32(extra).raw(devmode);
    return o.s;
}

// A Windows-looking DEVMODE: 156 bytes plus 20 driver bytes.
std::string windowsDevMode()
{
    std::string d(176, '\0');
    std::memcpy(d.data(), "Label Printer 300", 17);
    d[32] = 0x01; d[33] = 0x04; // dmSpecVersion 0x0401
    d[34] = 0x07;               // dmDriverVersion
    d[36] = char(156);          // dmSize
    d[38] = 20;                 // dmDriverExtra
    for (size_t i = 156; i < d.size(); ++i)
        d[i] = char(0xA0 + i % 16);
    return d;
}

template <class T>
std::unique_ptr<T> exampleLabel()
{
    auto label = std::make_unique<T>();
    label->SetFamilyName("Wire");
    label->SetWidth(0, 70000, true);
    label->SetHeight(0, 37000);
    return label;
}


std::string readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

constexpr OsVersionInfo kWin7{6, 1, kPlatformIdWin32NT};

} // namespace

class LabelFileTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return QDir(dir.path()).filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(LabelFileTest, PlainFileIsByteExact)
{
    auto label = exampleLabel<CLabelFileNew>();
    ASSERT_TRUE(label->IsModified());
    LabelFileResult result;
    ASSERT_TRUE(label->SaveToFile(path("a.label"), &result)) << result.message;
    EXPECT_FALSE(label->IsModified());
    const std::string bytes = readFile(QString::fromStdString(path("a.label")));
    EXPECT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes, labelFileImage({}));

    CLabelFileNew back;
    ASSERT_TRUE(back.LoadFromFile(path("a.label"), {}));
    EXPECT_TRUE(back.IsLoaded());
    EXPECT_EQ(back.GetFamilyName(), "Wire");
    EXPECT_EQ(back.GetColumns(), 3);
    EXPECT_EQ(back.GetRows(), 8);
    EXPECT_EQ(back.GetTop(0), 500);
    EXPECT_FALSE(back.IsStorePrinter());
    EXPECT_EQ(back.GetPrinterSettings(), nullptr);
    EXPECT_EQ(back.GetFilePath(), ""); // reading a file clears the path
}

TEST_F(LabelFileTest, ArticleNumberFileIsByteExact)
{
    // Up to the full hundred, the last slot included.
    for (int n : {0, 1, 3, 99, 100}) {
        auto label = exampleLabel<CLabelFileNewArticleNo>();
        ExpectedLabel e;
        e.articleGeneration = true;
        for (int i = 0; i < n; ++i) {
            e.articleNumbers.push_back("ART-" + std::to_string(i));
            ASSERT_TRUE(label->AddArticleNumber(e.articleNumbers.back()));
        }
        ASSERT_TRUE(label->SaveToFile(path("n.label")));
        const std::string bytes = readFile(QString::fromStdString(path("n.label")));
        EXPECT_EQ(bytes.size(), 1060u + 50u * unsigned(n));
        EXPECT_EQ(bytes, labelFileImage(e));

        CLabelFileNewArticleNo back;
        ASSERT_TRUE(back.LoadFromFile(path("n.label"), {}));
        ASSERT_EQ(back.GetArticleNumberCount(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(back.GetArticleNumber(i), e.articleNumbers[size_t(i)]);
        // The same through the loader that picks the class by its magic.
        auto loaded = LoadLabelDefinitionFile(path("n.label"), {});
        ASSERT_NE(loaded, nullptr);
        ASSERT_EQ(loaded->GetArticleNumberCount(), n);
        if (n > 0) {
            EXPECT_EQ(loaded->GetArticleNumber(n - 1), e.articleNumbers.back());
        }
        // Each class reads only its own generation.
        CLabelFileNew plain;
        LabelFileResult result;
        EXPECT_FALSE(plain.LoadFromFile(path("n.label"), {}, &result));
        EXPECT_EQ(result.status, LabelFileStatus::NotALabelFile);
    }
}

TEST_F(LabelFileTest, HeaderChecksAndDefaults)
{
    ExpectedLabel e;
    e.printerTypes = 0; // reads back as the default mask
    std::string bytes = labelFileImage(e);
    bytes[4] = 0; // version 0 still loads
    writeFile(QString::fromStdString(path("v0.label")), bytes);
    CLabelFileNew label;
    ASSERT_TRUE(label.LoadFromFile(path("v0.label"), {}));
    EXPECT_EQ(label.GetPrinterTypes(), 0x8000000Du);

    ExpectedLabel a;
    a.articleGeneration = true;
    std::string newer = labelFileImage(a);
    newer[4] = char(111);
    writeFile(QString::fromStdString(path("v111.label")), newer);
    CLabelFileNewArticleNo article;
    EXPECT_FALSE(article.LoadFromFile(path("v111.label"), {}));
    EXPECT_EQ(LoadLabelDefinitionFile(path("v111.label"), {}), nullptr);

    writeFile(QString::fromStdString(path("other.label")), "PK\x03\x04 not a label");
    LabelFileResult result;
    EXPECT_EQ(LoadLabelDefinitionFile(path("other.label"), {}, &result), nullptr);
    EXPECT_EQ(result.status, LabelFileStatus::NotALabelFile);
    EXPECT_EQ(LoadLabelDefinitionFile(path("missing.label"), {}, &result), nullptr);
    EXPECT_EQ(result.status, LabelFileStatus::CannotOpen);

    auto picked = LoadLabelDefinitionFile(path("v0.label"), {});
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(picked->GetTypeKey(), kKeyLabelFileNew);
    EXPECT_EQ(picked->GetFilePath(), path("v0.label"));
}

TEST_F(LabelFileTest, DamagedFieldsAreBoundedAndRefused)
{
    // A family-name length beyond its text and a field without NUL.
    ExpectedLabel e;
    std::string bytes = labelFileImage(e);
    bytes[13] = char(200);
    for (size_t i = 0; i < 65; ++i)
        bytes[14 + i] = 'F';
    // Printer device field without a NUL.
    const size_t deviceOffset = 12 + 106 + 6 + 8 + 4 + 34 + 512 + 3;
    for (size_t i = 0; i < 81; ++i)
        bytes[deviceOffset + i] = 'D';
    writeFile(QString::fromStdString(path("f.label")), bytes);
    CLabelFileNew label;
    ASSERT_TRUE(label.LoadFromFile(path("f.label"), {}));
    EXPECT_EQ(label.GetFamilyName(), std::string(64, 'F'));
    EXPECT_EQ(label.GetPrinterDevice(), std::string(80, 'D'));

    // Article-number counts outside 0..100.
    for (uint32_t count : {101u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        ExpectedLabel a;
        a.articleGeneration = true;
        std::string img = labelFileImage(a);
        img.resize(img.size() - 4);
        img += Bytes().u32(count).s;
        writeFile(QString::fromStdString(path("c.label")), img);
        CLabelFileNewArticleNo article;
        LabelFileResult result;
        EXPECT_FALSE(article.LoadFromFile(path("c.label"), {}, &result));
        EXPECT_EQ(result.status, LabelFileStatus::Damaged) << count;
        EXPECT_EQ(article.GetArticleNumberCount(), 0);
    }

    // Settings sizes beyond what the file holds.
    ExpectedLabel s;
    s.settingsBlock = Bytes().u32(6).u32(1).u32(2).u32(0xFFFFFFF0u).u32(0x100u).raw("xyz").s;
    writeFile(QString::fromStdString(path("s.label")), labelFileImage(s));
    LabelFileResult result;
    EXPECT_FALSE(label.LoadFromFile(path("s.label"), {}, &result));
    EXPECT_EQ(result.status, LabelFileStatus::Damaged);
}

TEST_F(LabelFileTest, TruncationAtEveryOffsetFailsCleanly)
{
    ExpectedLabel e;
    e.articleGeneration = true;
    e.device = "Zebra";
    e.driver = "CUPS";
    e.port = "usb://Zebra";
    e.settingsBlock = settingsBlock(6, 1, 2, windowsDevMode(), 20);
    e.articleNumbers = {"A1", "B2"};
    const std::string full = labelFileImage(e);
    {
        CLabelFileNewArticleNo label;
        RecordReader r(full.data() + 12, full.size() - 12);
        ASSERT_TRUE(label.Read(r, false, {}));
        EXPECT_EQ(r.remaining(), 0u);
    }
    // The older writers could end a file where a settings header would
    // start; such a file loads without settings.
    const size_t settingsStart = 1024;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        CLabelFileNewArticleNo label;
        RecordReader r(full.data() + 12, cut < 12 ? 0 : cut - 12);
        EXPECT_FALSE(label.Read(r, false, {})) << cut;
        EXPECT_NE(r.status(), ReadStatus::Ok) << cut;
    }
    for (size_t cut : {size_t(0), size_t(3), size_t(11), settingsStart - 1, settingsStart + 15, full.size() - 1}) {
        writeFile(QString::fromStdString(path("t.label")), full.substr(0, cut));
        LabelFileResult result;
        EXPECT_EQ(LoadLabelDefinitionFile(path("t.label"), {}, &result), nullptr) << cut;
        EXPECT_NE(result.status, LabelFileStatus::Ok);
        EXPECT_FALSE(result.message.empty());
    }
    // An "LBLF" file that announces settings but ends before them.
    ExpectedLabel plain;
    std::string announced = labelFileImage(plain);
    announced[12 + 106 + 6 + 8 + 4 + 34 + 512 + 3 + 243] = 1;
    writeFile(QString::fromStdString(path("ann.label")), announced);
    CLabelFileNew label;
    ASSERT_TRUE(label.LoadFromFile(path("ann.label"), {}));
    EXPECT_EQ(label.GetPrinterSettings(), nullptr);
    // One that ends inside the settings header is incomplete.
    const std::string header = settingsBlock(6, 1, 2, windowsDevMode(), 20).substr(0, 20);
    for (size_t kept : {size_t(1), size_t(15), size_t(16), size_t(19)}) {
        writeFile(QString::fromStdString(path("ann.label")), announced + header.substr(0, kept));
        LabelFileResult result;
        CLabelFileNew cut;
        EXPECT_FALSE(cut.LoadFromFile(path("ann.label"), {}, &result)) << kept;
        EXPECT_EQ(result.status, LabelFileStatus::Truncated) << kept;
        EXPECT_NE(result.message.find("is incomplete"), std::string::npos) << kept;
        EXPECT_EQ(cut.GetPrinterSettings(), nullptr) << kept;
    }
}

TEST(PrinterSettings, AcceptanceRule)
{
    const OsVersionInfo stored{6, 1, kPlatformIdWin32NT};
    EXPECT_TRUE(PrinterSettingsAcceptable(stored, {5, 1, kPlatformIdWin32NT}));
    EXPECT_TRUE(PrinterSettingsAcceptable(stored, {6, 3, kPlatformIdWin32NT}));
    EXPECT_FALSE(PrinterSettingsAcceptable(stored, {10, 0, kPlatformIdWin32NT}));
    EXPECT_TRUE(PrinterSettingsAcceptable({5, 0, 2}, {6, 0, 2}));
    EXPECT_FALSE(PrinterSettingsAcceptable({4, 0, 2}, {5, 0, 2}));
    EXPECT_FALSE(PrinterSettingsAcceptable({6, 1, 1}, {6, 1, 2}));
    EXPECT_FALSE(PrinterSettingsAcceptable(stored, RunningOsVersion()));
    EXPECT_TRUE(PrinterSettingsAcceptable(kLinuxOsVersion, RunningOsVersion()));
    EXPECT_NE(kPlatformIdLinux, 0u);
    EXPECT_GT(kPlatformIdLinux, 3u);
}

TEST_F(LabelFileTest, AcceptedSettingsAreHeldOnTheirSystem)
{
    ExpectedLabel e;
    e.device = "Label Printer 300";
    e.driver = "winspool";
    e.port = "USB001";
    e.settingsBlock = settingsBlock(6, 1, 2, windowsDevMode(), 20);
    const std::string image = labelFileImage(e);
    writeFile(QString::fromStdString(path("w.label")), image);

    for (uint32_t major : {5u, 6u}) {
        LabelReadOptions options;
        options.running = {major, 2, kPlatformIdWin32NT};
        CLabelFileNew label;
        ASSERT_TRUE(label.LoadFromFile(path("w.label"), options));
        EXPECT_TRUE(label.IsStorePrinterSettings());
        EXPECT_TRUE(label.IsStorePrinter());
        EXPECT_TRUE(label.ArePrinterSettingsApplicable(options.running));
        ASSERT_NE(label.GetPrinterSettings(), nullptr);
        EXPECT_EQ(label.GetPrinterSettings()->Size(), 156u);
        EXPECT_EQ(label.GetPrinterSettings()->DriverExtra(), 20u);

        CRecordingUi ui;
        UiScope installed(ui);
        label.showDevModeInfo();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "CLabelFileNew::showDevModeInfo()");
        EXPECT_EQ(ui.messages[0].text, "m_pDevMode->dmSpecVersion = 1025\r\n"
                                       "m_pDevMode->dmDriverVersion = 7\r\nm_pDevMode->dmSize = 156\r\n"
                                       "m_pDevMode->dmDriverExtra = 20");
    }
}

TEST_F(LabelFileTest, ForeignSettingsSurviveLoadAndSave)
{
    ExpectedLabel e;
    e.device = "Label Printer 300";
    e.driver = "winspool";
    e.port = "USB001";
    e.settingsBlock = settingsBlock(6, 1, 2, windowsDevMode(), 20);
    const std::string image = labelFileImage(e);
    writeFile(QString::fromStdString(path("w.label")), image);

    for (OsVersionInfo running : {OsVersionInfo{10, 0, kPlatformIdWin32NT}, OsVersionInfo{6, 1, 1}, RunningOsVersion()}) {
        CRecordingUi ui;
        UiScope installed(ui);
        LabelReadOptions options;
        options.running = running;
        options.messages = true;
        CLabelFileNew label;
        ASSERT_TRUE(label.LoadFromFile(path("w.label"), options));
        EXPECT_TRUE(label.IsStorePrinterSettings()); // kept, so stored
        EXPECT_FALSE(label.ArePrinterSettingsApplicable(running));
        ASSERT_NE(label.GetPrinterSettings(), nullptr);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, kForeignPrinterSettingsMessage);
        EXPECT_FALSE(DecodeLinuxPrinterSettings(*label.GetPrinterSettings()).has_value());

        ASSERT_TRUE(label.SaveToFile(path("again.label")));
        EXPECT_EQ(readFile(QString::fromStdString(path("again.label"))), image);

        // One toggle drops them.
        label.ToggleStorePrinterSettings();
        EXPECT_FALSE(label.IsStorePrinterSettings());
        EXPECT_EQ(label.GetPrinterSettings(), nullptr);
        ASSERT_TRUE(label.SaveToFile(path("dropped.label")));
        EXPECT_EQ(readFile(QString::fromStdString(path("dropped.label"))).size(), 1024u);
    }

    // Messages off: nothing is shown.
    CRecordingUi ui;
    UiScope installed(ui);
    CLabelFileNew quiet;
    LabelReadOptions options;
    options.running = {10, 0, kPlatformIdWin32NT};
    ASSERT_TRUE(quiet.LoadFromFile(path("w.label"), options));
    EXPECT_TRUE(ui.messages.empty());

    // The embedded body keeps the block too.
    RecordWriter w;
    quiet.WriteTagged(w);
    RecordReader r(w.data());
    ASSERT_EQ(r.i16(), kKeyLabelFileNew);
    auto embedded = CreateLabelForTypeKey(kKeyLabelFileNew);
    ASSERT_TRUE(embedded->Read(r, true, options));
    EXPECT_TRUE(r.atEnd());
    auto* back = static_cast<CLabelFileNew*>(embedded.get());
    ASSERT_NE(back->GetPrinterSettings(), nullptr);
    EXPECT_EQ(*back->GetPrinterSettings(), *quiet.GetPrinterSettings());
}

TEST_F(LabelFileTest, OwnSettingsRoundTrip)
{
    LinuxPrinterSetup setup;
    setup.queueName = "Brady_BBP12_thermal_transfer_line_3";
    setup.orientation = 2;
    setup.paperCode = 256;
    setup.paperLength = 380;
    setup.paperWidth = 1000;
    setup.copies = 2;
    setup.pageSizeId = int32_t(QPageSize::Custom);
    setup.pageWidthUm = 100000;
    setup.pageHeightUm = 38000;
    setup.marginLeftUm = 1500;
    setup.marginTopUm = 1000;
    setup.marginRightUm = 1500;
    setup.marginBottomUm = 2000;
    const CPrinterSettings block = EncodeLinuxPrinterSettings(setup);
    EXPECT_EQ(block.Origin(), kLinuxOsVersion);
    EXPECT_EQ(block.Size(), 156u);
    EXPECT_EQ(block.DevModeSize(), 156u);
    EXPECT_EQ(block.DevModeDriverExtra(), block.DriverExtra());
    EXPECT_EQ(block.SpecVersion(), 0x0401u);
    // The public part reads like a DEVMODE.
    EXPECT_EQ(block.Bytes().substr(0, 31), setup.queueName.substr(0, 31));
    EXPECT_EQ(uint8_t(block.Bytes()[44]), 2);      // orientation
    EXPECT_EQ(uint8_t(block.Bytes()[47]), 1);      // paper 256, high byte

    auto label = exampleLabel<CLabelFileNewArticleNo>();
    ASSERT_TRUE(label->SetPrinterNames(setup.queueName, "CUPS", "ipp://localhost/printers/x"));
    label->ToggleStorePrinter();
    label->SetPrinterSettings(block);
    label->AddArticleNumber("BR-1");
    ASSERT_TRUE(label->SaveToFile(path("own.label")));

    auto back = LoadLabelDefinitionFile(path("own.label"), {});
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetArticleNumberCount(), 1);
    EXPECT_TRUE(back->IsStorePrinter());
    EXPECT_TRUE(back->IsStorePrinterSettings());
    ASSERT_NE(back->GetPrinterSettings(), nullptr);
    EXPECT_EQ(*back->GetPrinterSettings(), block);
    const auto decoded = DecodeLinuxPrinterSettings(*back->GetPrinterSettings());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, setup);

    // On another system our block is kept but not applied.
    LabelReadOptions windows;
    windows.running = kWin7;
    auto there = LoadLabelDefinitionFile(path("own.label"), windows);
    ASSERT_NE(there, nullptr);
    EXPECT_TRUE(there->IsStorePrinterSettings());
    EXPECT_FALSE(there->ArePrinterSettingsApplicable(kWin7));
    EXPECT_EQ(*there->GetPrinterSettings(), block);

    // A damaged private part decodes to nothing, without reading past it.
    std::string bytes = block.Bytes();
    bytes[156 + 8] = char(0xFF); // first item's length
    bytes[156 + 9] = char(0xFF);
    EXPECT_FALSE(DecodeLinuxPrinterSettings(CPrinterSettings(block.Origin(), block.Size(), block.DriverExtra(), bytes))
                     .has_value());
    EXPECT_FALSE(DecodeLinuxPrinterSettings(CPrinterSettings(block.Origin(), 10, 0, bytes.substr(0, 10))).has_value());
}

TEST_F(LabelFileTest, EmbeddedBodyKeepsTheWholePath)
{
    auto label = exampleLabel<CLabelFileNewArticleNo>();
    const std::string longPath = "/home/operator/" + std::string(300, 'p') + ".label";
    label->SetFilePath(longPath);
    RecordWriter w;
    label->Write(w, true);
    EXPECT_EQ(w.size(), 1012u + 257u + 36u);
    EXPECT_EQ(label->GetFilePath(), longPath); // not cut in memory

    // A path cut to its field would name some other file, which a later
    // Save would write without asking: no path is stored instead, so Save
    // asks for a name. A path that fits comes back whole.
    CLabelFileNewArticleNo back;
    RecordReader r(w.data());
    ASSERT_TRUE(back.Read(r, true, {}));
    EXPECT_EQ(back.GetFilePath(), "");
    const std::string fitting = "/" + std::string(255, 'f');
    label->SetFilePath(fitting);
    RecordWriter fw;
    label->Write(fw, true);
    RecordReader fr(fw.data());
    ASSERT_TRUE(back.Read(fr, true, {}));
    EXPECT_EQ(back.GetFilePath(), fitting);

    // Older generations in a template record.
    for (int16_t key : {kKeyLabel, kKeyLabelExt, kKeyLabelExtExt}) {
        auto old = CreateLabelForTypeKey(key);
        ASSERT_NE(old, nullptr);
        old->SetWidth(0, 20000, true);
        old->SetHeight(0, 10000);
        RecordWriter ow;
        old->WriteTagged(ow);
        const size_t expected = 2 + 106 + (key <= kKeyLabelExt ? 6 : 0) + (key == kKeyLabelExtExt ? 8 : 0);
        EXPECT_EQ(ow.size(), expected);
        RecordReader orr(ow.data());
        auto read = CreateLabelForTypeKey(orr.i16());
        ASSERT_TRUE(read->Read(orr, true, {}));
        EXPECT_EQ(read->GetTypeKey(), key);
        EXPECT_EQ(read->GetWidth(0), 20000);
    }
    EXPECT_EQ(CreateLabelForTypeKey(137), nullptr);
    EXPECT_EQ(CreateLabelForTypeKey(141), nullptr);
}

TEST_F(LabelFileTest, FailedSaveKeepsTheOldFileAndReports)
{
    auto label = exampleLabel<CLabelFileNew>();
    ASSERT_TRUE(label->SaveToFile(path("keep.label")));
    const std::string before = readFile(QString::fromStdString(path("keep.label")));

    label->SetFamilyName("Changed");
    LabelFileResult result;
    EXPECT_FALSE(label->SaveToFile(path("no/such/folder/x.label"), &result));
    EXPECT_EQ(result.status, LabelFileStatus::CannotSave);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(label->IsModified()); // still unsaved

    // A file in a folder we may not write to.
    QDir(dir.path()).mkdir("ro");
    const std::string roPath = path("ro/keep.label");
    ASSERT_TRUE(label->SaveToFile(roPath));
    const std::string roBefore = readFile(QString::fromStdString(roPath));
    QFile::setPermissions(QString::fromStdString(path("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    label->SetFamilyName("Changed again");
    const bool saved = label->SaveToFile(roPath, &result);
    QFile::setPermissions(QString::fromStdString(path("ro")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!saved) { // root may write anyway
        EXPECT_EQ(readFile(QString::fromStdString(roPath)), roBefore);
        EXPECT_TRUE(label->IsModified());
    }
    EXPECT_EQ(readFile(QString::fromStdString(path("keep.label"))), before);
}

TEST_F(LabelFileTest, SaveAndSaveAsAskForAName)
{
    auto label = exampleLabel<CLabelFileNew>();
    CRecordingUi ui;
    UiScope installed(ui);
    EXPECT_FALSE(label->Save("/labels/")); // cancelled
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    const CRecordingUi::FileDialog& first = ui.fileDialogs[0];
    EXPECT_EQ(first.kind, CRecordingUi::DialogKind::Save);
    EXPECT_EQ(first.request.defaultExtension, "label");
    EXPECT_EQ(first.request.filter, "Label files (*.label)|*.label||");
    EXPECT_EQ(first.request.folder, "/labels/");
    EXPECT_TRUE(first.request.initialName.isEmpty());
    EXPECT_FALSE(first.request.confirmOverwrite);
    EXPECT_EQ(label->GetFilePath(), "");

    ui.fileNames.push_back(QString::fromStdString(path("chosen.label")));
    ASSERT_TRUE(label->Save("/labels/"));
    EXPECT_EQ(label->GetFilePath(), path("chosen.label"));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path("chosen.label"))));

    // Save with a path does not ask; Save As always does.
    ui.fileDialogs.clear();
    ASSERT_TRUE(label->Save("/labels/"));
    EXPECT_TRUE(ui.fileDialogs.empty());
    ui.fileNames.push_back(QString::fromStdString(path("missing/dir/other.label")));
    EXPECT_FALSE(label->SaveAs("/labels/"));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].request.confirmOverwrite);
    EXPECT_EQ(ui.fileDialogs[0].request.initialName, QString::fromStdString(path("chosen.label")));
    ASSERT_EQ(ui.messages.size(), 1u); // the failure was reported
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(ui.messages[0].text.find("Can not save file"), std::string::npos);
}

TEST(LabelFileSamples, SettingsOfOurOwnFromAnotherWriter)
{
    // A file written by the seed-corpus generator, not by this program.
    const std::string sample = VSL_SOURCE_DIR "/fuzz/corpus/fuzz_label/linux_settings.label";
    auto label = LoadLabelDefinitionFile(sample, {});
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetPrinterDevice(), "Zebra");
    EXPECT_TRUE(label->IsStorePrinterSettings());
    ASSERT_NE(label->GetPrinterSettings(), nullptr);
    const auto setup = DecodeLinuxPrinterSettings(*label->GetPrinterSettings());
    ASSERT_TRUE(setup.has_value());
    EXPECT_EQ(setup->queueName, "Zebra");
    EXPECT_EQ(setup->orientation, 2);
    EXPECT_EQ(setup->paperCode, 256);
    EXPECT_EQ(setup->pageWidthUm, 100000);
    EXPECT_EQ(setup->marginBottomUm, 1000);
}
