#pragma once
// Pieces shared by the two platform implementations of TkoCabReader.
#include <cstdint>
#include <filesystem>

// Throws EkoError("System Error.  Code: <code>.\r\n<system text>").
[[noreturn]] void RaiseOSError(int32_t osError);

// MS-DOS date and time (local time) as seconds since the epoch, for the target's
// modification time; -1 when the fields do not make a time.
int64_t DosDateTimeToUnixTime(uint16_t date, uint16_t time);
