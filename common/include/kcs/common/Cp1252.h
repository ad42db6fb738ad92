#pragma once
// Client records and report texts are 8-bit text in the Windows-1252 code page: one byte
// per character. The screens and the question bank work in UTF-8; these convert between.

#include <optional>
#include <string>
#include <string_view>

namespace kcs {

// UTF-8 text to Windows-1252 bytes; nullopt when a character has no place in the code
// page or the input is not valid UTF-8 (the caller refuses such text, nothing is stored).
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// Windows-1252 bytes to UTF-8. The five unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D)
// map to the C1 control characters of the same value, so every byte survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace kcs
