#pragma once
// The pictures compiled into the program, under ":/vsl/".

namespace appresources {

// Registers the compiled-in pictures; safe to call more than once. The
// library is static, so its resources are registered on first use rather
// than by a static initialiser the linker may drop.
void Init();

// The About box logo, 216 x 40 pixels.
inline constexpr const char* kLogo = ":/vsl/logo.png";

} // namespace appresources
