#include "platform/settings.h"

#include "platform/codepage.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace settings {

namespace {

QString& storeFolderOverride()
{
    static QString folder;
    return folder;
}

struct IntDefault {
    std::string_view section;
    std::string_view key;
    int32_t value;
};

struct TextDefault {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

constexpr IntDefault kIntDefaults[] = {
    {kDefaultFont, kFontSize, -13},
    {kDefaultFont, kFontWeight, 400},
    {kDefaultFont, kFontItalic, 0},
    {kDefaultFont, kFontUnderline, 0},
    {kTableFont, kTableFontSize, -12},
    {kTableFont, kTableFontWeight, 400},
    {kTableFont, kTableFontCharSet, 1},
    {kDefaultBarcode, kBarcodeModule, 191},
    {kDefaultBarcode, kBarcodeHeight, 12700},
    {kTextImport, kImportFormat, 0},
    {kTextImport, kImportDelimiter, ';'},
    {kTextImport, kImportCharSet, 0},
    {kWorkspace, kApplicationLook, 214},
};

constexpr TextDefault kTextDefaults[] = {
    {kDefaultFont, kFontFacename, "Arial"},
    {kTableFont, kTableFontName, "System"},
    {kDefaultBarcode, kBarcodeType, ""},
    {kDefaultBarcode, kBarcodeQrVersion, ""},
    {kDefaultBarcode, kBarcodeQrEccLevel, "M"},
    {kDefaultBarcode, kBarcodeQrEncoding, ""},
    {kDefaultBarcode, kBarcodeQrMargin, ""},
};

bool isPrinterSection(std::string_view section)
{
    return section.size() >= kPrinterSectionPrefix.size() &&
           section.substr(0, kPrinterSectionPrefix.size()) == kPrinterSectionPrefix;
}

QString valuePath(std::string_view section, std::string_view key)
{
    return EscapeName(section) + QLatin1Char('/') + EscapeName(key);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

std::string PrinterSection(std::string_view deviceName)
{
    return std::string(kPrinterSectionPrefix) + std::string(deviceName);
}

std::string FixedLengthKey(int column)
{
    return std::string(kImportFixedLengthPrefix) + ' ' + char('A' + column);
}

void SetStoreFolder(const QString& folder)
{
    storeFolderOverride() = folder;
}

QString StoreFile()
{
    QString folder = storeFolderOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/Vorteplan");
    return QDir(folder).filePath(QStringLiteral("Vorteplan Software.ini"));
}

std::optional<int32_t> DefaultInt(std::string_view section, std::string_view key)
{
    for (const IntDefault& d : kIntDefaults)
        if (d.section == section && d.key == key)
            return d.value;
    if (isPrinterSection(section) && (key == kPrinterLeftCompensation || key == kPrinterTopCompensation))
        return 0;
    if (section == kTextImport) {
        for (int column = 0; column < 26; ++column)
            if (key == FixedLengthKey(column))
                return column < 3 ? 10 : -1;
    }
    return std::nullopt;
}

std::optional<std::string> DefaultText(std::string_view section, std::string_view key)
{
    for (const TextDefault& d : kTextDefaults)
        if (d.section == section && d.key == key)
            return std::string(d.value);
    return std::nullopt;
}

int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    const QVariant value = store.value(valuePath(section, key));
    if (value.isValid()) {
        bool ok = false;
        const qlonglong n = value.toString().trimmed().toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= INT32_MAX)
            return int32_t(n);
    }
    return DefaultInt(section, key).value_or(fallback);
}

std::string GetText(std::string_view section, std::string_view key, std::string_view fallback)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    const QVariant value = store.value(valuePath(section, key));
    if (value.isValid())
        return codepage::FromUnicode(value.toString());
    if (auto d = DefaultText(section, key))
        return *d;
    return std::string(fallback);
}

bool HasValue(std::string_view section, std::string_view key)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    return store.contains(valuePath(section, key));
}

void WriteInt(std::string_view section, std::string_view key, int32_t value)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    store.setValue(valuePath(section, key), value);
}

QString GetPath(std::string_view section, std::string_view key)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    return store.value(valuePath(section, key)).toString();
}

void WritePath(std::string_view section, std::string_view key, const QString& path)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    store.setValue(valuePath(section, key), path);
}

void RemoveValue(std::string_view section, std::string_view key)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    store.remove(valuePath(section, key));
}

void WriteText(std::string_view section, std::string_view key, std::string_view value)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    store.setValue(valuePath(section, key), codepage::ToUnicode(value));
}

std::vector<std::string> Sections()
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    std::vector<std::string> out;
    for (const QString& group : store.childGroups())
        out.push_back(UnescapeName(group));
    return out;
}

std::vector<std::string> Keys(std::string_view section)
{
    QSettings store(StoreFile(), QSettings::IniFormat);
    store.beginGroup(EscapeName(section));
    std::vector<std::string> out;
    for (const QString& key : store.childKeys())
        out.push_back(UnescapeName(key));
    store.endGroup();
    return out;
}

QString EscapeName(std::string_view name)
{
    const QString text = codepage::ToUnicode(name);
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%25");
        else if (c == QLatin1Char('/'))
            out += QStringLiteral("%2F");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

std::string UnescapeName(const QString& stored)
{
    QString text;
    text.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == QLatin1Char('%') && i + 2 < stored.size() && hexValue(stored[i + 1]) >= 0 &&
            hexValue(stored[i + 2]) >= 0) {
            text += QChar(char16_t(hexValue(stored[i + 1]) * 16 + hexValue(stored[i + 2])));
            i += 2;
        } else {
            text += stored[i];
        }
    }
    return codepage::FromUnicode(text);
}

} // namespace settings
