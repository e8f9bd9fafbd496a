#pragma once
// Reading numbers out of dialog fields at OK, with the messages the user
// knows from Windows dialogs: a field that holds no integer gives "Enter an
// integer.", one outside its range "Enter an integer between MIN and MAX.";
// either way the message is shown, the field gets the focus with its text
// selected, and the caller keeps the dialog open.
#include <cstdint>
#include <optional>

class QLineEdit;
class QString;

namespace dataexchange {

// The integer a field's text holds: blanks around it allowed, an optional
// sign, decimal digits, within int32; nothing otherwise.
std::optional<int32_t> ParseInteger(const QString& text);

// The field's integer within min..max, or nothing after telling the user.
std::optional<int32_t> ExchangeInteger(QLineEdit* field, int32_t min, int32_t max);

} // namespace dataexchange
