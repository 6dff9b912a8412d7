#pragma once
// Which cabinet member names may be extracted, and where they land.
//
// A member name is a string of raw bytes, UTF-8 when the member's attributes carry
// kCabNameIsUtf8. It is extracted only when every part of it (split on "/" and "\")
// is a plain, portable file name, so that the target lies inside the destination
// folder on every platform. Rejected are names that are empty, longer than
// kMaxMemberNameBytes, absolute (a leading separator also covers UNC and "\\?\"
// names), or that contain a drive (":"), an empty, "." or ".." part, a part ending in
// "." or " " (Windows drops those, so "a." and "a" would be the same file), a control
// character or one of :<>"|?*, a DOS device name (CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM1-9, LPT1-9, also with an extension), or, for UTF-8 names, a byte
// sequence that is not strict UTF-8 (overlong forms such as C0 AF are not "/").
//
// Bytes become a path per platform (MemberPartToPath): on Windows UTF-8 names are
// decoded as UTF-8 and 8-bit names in the system ANSI code page, as films expect;
// natively UTF-8 names are kept as they are and 8-bit names are read as Latin-1 and
// stored as UTF-8.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr size_t kMaxMemberNameBytes = 780;
constexpr uint16_t kCabNameIsUtf8 = 0x80;

// The parts of an acceptable name (folders first, file name last); nullopt when the
// name is rejected.
std::optional<std::vector<std::string>> SplitMemberName(const std::string& name, bool utf8);

// True when name is one acceptable part without folders, as the next cabinet of a
// set must be (it has to lie in the same folder as the current one).
bool IsPlainMemberFileName(const std::string& name, bool utf8);

// True for strict UTF-8 (no overlong forms, surrogates or code points over U+10FFFF).
bool IsStrictUtf8(const std::string& text);

// One accepted part as a path element for this platform; nullopt when the bytes
// cannot be converted. Implemented in cab_member_path_{posix,win}.cpp.
std::optional<std::filesystem::path> MemberPartToPath(const std::string& part, bool utf8);

// True when target lies strictly inside folder: the lexically normal target begins
// with the lexically normal folder followed by a separator.
bool LiesInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& target);

// The file a member is extracted to: destination joined with the name's parts.
// nullopt when the name is rejected, cannot be converted, or would leave destination.
std::optional<std::filesystem::path> MemberTargetPath(const std::filesystem::path& destination,
                                                      const std::string& name, bool utf8);
