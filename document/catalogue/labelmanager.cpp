#include "document/catalogue/labelmanager.h"

#include "platform/codepage.h"
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

// Ascending order of cp1252 texts without regard to case.
bool lessNoCase(const std::string& a, const std::string& b)
{
    return QString::compare(codepage::ToUnicode(a), codepage::ToUnicode(b), Qt::CaseInsensitive) < 0;
}

// The definition class that a file's magic names; null for anything else,
// for a file that cannot be opened and for anything but a regular file of
// at most kMaxLabelFileSize bytes (a FIFO or device in the folder must not
// block or flood the scan at start-up). `data` receives the file.
std::unique_ptr<CLabelFileNew> labelForFile(const QString& path, QByteArray& data)
{
    std::optional<QByteArray> bytes = files::ReadRegularFile(path, kMaxLabelFileSize);
    if (!bytes)
        return nullptr;
    data = std::move(*bytes);
    RecordReader r(data.constData(), size_t(data.size()));
    const uint32_t magic = r.u32();
    if (!r.ok())
        return nullptr;
    if (magic == kLabelFileMagic)
        return std::make_unique<CLabelFileNew>();
    if (magic == kLabelFileArticleNoMagic)
        return std::make_unique<CLabelFileNewArticleNo>();
    return nullptr;
}

} // namespace

CLabelManager::CLabelManager() = default;
CLabelManager::~CLabelManager() = default;

void CLabelManager::Clear()
{
    for (auto& label : m_labels)
        label.reset();
    m_count = 0;
}

CLabelFileNew* CLabelManager::GetAt(int slot) const
{
    if (slot < 0 || slot >= kMaxLabels)
        return nullptr;
    return m_labels[size_t(slot)].get();
}

std::string CLabelManager::DisplayNameOf(const std::string& fileName)
{
    std::string name = fileName;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    if (name.size() > kMaxDisplayName)
        name.resize(kMaxDisplayName);
    return name;
}

int CLabelManager::LoadFolder()
{
    Clear();
    QDir dir(m_folder);
    const QFileInfoList files =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    LabelReadOptions options; // messages off
    for (const QFileInfo& info : files) {
        if (m_count >= kMaxLabels)
            break;
        const QString fileName = info.fileName();
        if (!fileName.endsWith(QStringLiteral(".label"), Qt::CaseInsensitive))
            continue;
        QByteArray data;
        std::unique_ptr<CLabelFileNew> label = labelForFile(info.filePath(), data);
        if (!label)
            continue;
        // A definition that reads badly is still listed, with what it read.
        label->LoadFromBytes(std::string_view(data.constData(), size_t(data.size())), options);
        label->SetDisplayName(DisplayNameOf(codepage::FromUnicode(fileName)));
        // The file as found, letter case kept: "X.LABEL" is not "X.label".
        label->SetFilePath(QFile::encodeName(info.filePath()).toStdString());
        m_labels[size_t(m_count++)] = std::move(label);
    }
    return m_count;
}

void CLabelManager::AddFamily(const std::string& name)
{
    for (const auto& family : m_families)
        if (family && codepage::EqualsNoCase(*family, name))
            return;
    for (auto& family : m_families) {
        if (!family) {
            family = std::make_unique<std::string>(name);
            return;
        }
    }
}

void CLabelManager::CollectFamilies()
{
    for (const auto& label : m_labels)
        if (label)
            AddFamily(label->GetFamilyName());
}

int CLabelManager::GetFamilyCount() const
{
    return int(std::count_if(m_families.begin(), m_families.end(), [](const auto& f) { return f != nullptr; }));
}

std::string CLabelManager::GetFamilyName(int index) const
{
    if (index < 0 || index >= kMaxFamilies || !m_families[size_t(index)])
        return {};
    return *m_families[size_t(index)];
}

void CLabelManager::SortFamilies()
{
    // Names are added from the first free slot and never removed, so the
    // held names are the leading ones; all of them are sorted.
    const auto end = std::find(m_families.begin(), m_families.end(), nullptr);
    std::stable_sort(m_families.begin(), end,
                     [](const auto& a, const auto& b) { return lessNoCase(*a, *b); });
}
