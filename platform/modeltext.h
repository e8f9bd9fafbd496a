#pragma once
// Texts where the model meets Qt widgets and other programs. The model keeps
// texts as bytes in a Windows code page with CR LF between lines; editors
// show them with LF, and text typed, pasted or dropped comes back as CR LF.
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace modeltext {

// Editor or clipboard text to model bytes: every line end (CR LF, LF or a
// lone CR) becomes CR LF; characters the page lacks become '?'.
std::string FromEditor(const QString& text, int codePage);

// Model bytes to editor text: decoded, CR LF shown as LF.
QString ToEditor(std::string_view bytes, int codePage);

// Whether every character of `text` has a byte form in the page (typed
// characters that have none are refused).
bool CanEncode(const QString& text, int codePage);

// Whether `byte` starts a two-byte character in the (multi-byte) page.
bool IsLeadByte(unsigned char byte, int codePage);

// The longest prefix of `bytes` of at most `limit` bytes that ends on a
// character boundary of the page.
size_t CharacterBoundary(std::string_view bytes, size_t limit, int codePage);

// Cuts `bytes` to at most `limit` bytes on a character boundary.
void CutToLimit(std::string& bytes, size_t limit, int codePage);

} // namespace modeltext
