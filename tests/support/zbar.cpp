#include "support/zbar.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <map>

namespace testsupport {

bool HaveZbar()
{
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

std::vector<std::vector<ZbarSymbol>> ZbarRead(const std::vector<QString>& images, const QStringList& options)
{
    std::vector<std::vector<ZbarSymbol>> result(images.size());
    if (images.empty())
        return result;
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("--xml")};
    arguments += options;
    for (const QString& image : images)
        arguments << image;
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), arguments);
    if (!zbar.waitForFinished(-1))
        return result;
    // <source href='image'><index><symbol type='T'><data [format='base64']>
    std::map<QString, size_t> index;
    for (size_t i = 0; i < images.size(); ++i)
        index.emplace(images[i], i);
    QXmlStreamReader xml(zbar.readAllStandardOutput());
    std::vector<ZbarSymbol>* current = nullptr;
    std::string type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            const auto found = index.find(xml.attributes().value(QLatin1String("href")).toString());
            current = found == index.end() ? nullptr : &result[found->second];
        } else if (xml.name() == QLatin1String("symbol")) {
            type = xml.attributes().value(QLatin1String("type")).toString().toStdString();
        } else if (xml.name() == QLatin1String("data") && current) {
            const bool base64 = xml.attributes().value(QLatin1String("format")) == QLatin1String("base64");
            const QString text = xml.readElementText();
            const QByteArray bytes = base64 ? QByteArray::fromBase64(text.trimmed().toLatin1()) : text.toUtf8();
            current->push_back({type, bytes.toStdString()});
        }
    }
    return result;
}

} // namespace testsupport
