#include "tables/dialogs/dataexchange.h"

#include "platform/uiservices.h"

#include <QLineEdit>

namespace dataexchange {

namespace {

void refuse(QLineEdit* field, const std::string& text)
{
    Ui().ShowMessage(UserMessage{text, {}, MessageIcon::Warning});
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

} // namespace

std::optional<int32_t> ParseInteger(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return std::nullopt;
    return int32_t(value);
}

std::optional<int32_t> ExchangeInteger(QLineEdit* field, int32_t min, int32_t max)
{
    const std::optional<int32_t> value = ParseInteger(field->text());
    if (!value) {
        refuse(field, "Enter an integer.");
        return std::nullopt;
    }
    if (*value < min || *value > max) {
        refuse(field, "Enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".");
        return std::nullopt;
    }
    return value;
}

} // namespace dataexchange
