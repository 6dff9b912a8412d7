// The portable half of the cabinet reader: error texts, EkoCabinet, and listing a
// cabinet's members straight from its file entries.
#include "film/ko_cab.h"

#include <array>
#include <cstring>
#include <ctime>

#include "film/cab_member_name.h"
#include "film/ko_cab_common.h"
#include "film/ko_stream.h"
#include "film/little_endian.h"

namespace {
constexpr std::array<const char*, 12> kCabErrorTexts = {
    "No error",
    "Cabinet not found",
    "Cabinet file does not have the correct format",
    "Cabinet file has an unknown version number",
    "Cabinet file is corrupt",
    "Could not allocate enough memory",
    "Unknown compression type in a cabinet folder",
    "Failure decompressing data from a cabinet file",
    "Failure writing to target file",
    "Cabinets in a set do not have the same RESERVE sizes",
    "Cabinet returned on fdintNEXT_CABINET is incorrect",
    "FDI aborted",
};
constexpr const char* kFdiError = "FDI error";
constexpr size_t kSystemTextLimit = 256;

}  // namespace

const char* CabErrorText(int32_t errorCode) {
  if (errorCode < 0 || errorCode >= static_cast<int32_t>(kCabErrorTexts.size())) return kFdiError;
  return kCabErrorTexts[static_cast<size_t>(errorCode)];
}

std::string TrimSystemText(const std::string& text) {
  std::string trimmed = text.substr(0, kSystemTextLimit);
  while (!trimmed.empty()) {
    const auto last = static_cast<unsigned char>(trimmed.back());
    if (last > ' ' && last != '.' && last != 0x7F) break;
    trimmed.pop_back();
  }
  return trimmed;
}

std::string BuildCabinetMessage(int32_t errorCode, int32_t osError, bool errorPresent,
                                const std::string& systemText) {
  if (!errorPresent) return kFdiError;
  std::string message = FormatText("%s [0x%04X]", CabErrorText(errorCode), static_cast<unsigned>(errorCode));
  if (osError != 0)
    message += FormatText(".\r\n%s [0x%04X].", TrimSystemText(systemText).c_str(), static_cast<unsigned>(osError));
  return message;
}

EkoCabinet::EkoCabinet(int32_t errorCode, int32_t osError, bool errorPresent)
    : EkoError(BuildCabinetMessage(errorCode, osError, errorPresent,
                                   errorPresent && osError != 0 ? SystemErrorText(osError) : std::string())),
      ErrorCode(errorCode),
      OSError(osError),
      ErrorPresent(errorPresent) {}

EkoCabinet::EkoCabinet(const std::string& message) : EkoError(message) {}

void RaiseOSError(int32_t osError) {
  throw EkoError(FormatText("System Error.  Code: %d.\r\n%s", osError, SystemErrorText(osError).c_str()));
}

int64_t DosDateTimeToUnixTime(uint16_t date, uint16_t time) {
  std::tm fields{};
  fields.tm_year = 80 + (date >> 9);
  fields.tm_mon = ((date >> 5) & 0x0F) - 1;
  fields.tm_mday = date & 0x1F;
  fields.tm_hour = time >> 11;
  fields.tm_min = (time >> 5) & 0x3F;
  fields.tm_sec = (time & 0x1F) * 2;
  fields.tm_isdst = -1;
  if (fields.tm_mon < 0 || fields.tm_mon > 11 || fields.tm_mday == 0 || fields.tm_hour > 23 ||
      fields.tm_min > 59 || fields.tm_sec > 59)
    return -1;
  const std::time_t seconds = std::mktime(&fields);
  return seconds == static_cast<std::time_t>(-1) ? -1 : static_cast<int64_t>(seconds);
}

bool TkoCabReader::EnumFiles(const std::filesystem::path& cabinet, const TCabEnumCallback& callback) {
  if (!IsCabinet(cabinet)) return false;
  std::unique_ptr<TkoFileStream> stream;
  try {
    stream = std::make_unique<TkoFileStream>(cabinet, kModeReadShared);
  } catch (const EkoError&) {
    return true;
  }
  uint8_t header[36];
  stream->ReadBuffer(header, sizeof header);
  if (std::memcmp(header, "MSCF", 4) != 0) throw EkoError(CabErrorText(2));
  const uint32_t firstEntry = ReadU32LE(header + 16);
  const uint16_t entryCount = ReadU16LE(header + 28);
  if (firstEntry > INT32_MAX || stream->SetPosition(static_cast<int32_t>(firstEntry)) != static_cast<int32_t>(firstEntry) ||
      stream->GetPosition() != static_cast<int32_t>(firstEntry))
    throw EkoError("Failure setting file stream position");
  bool stop = false;
  for (uint16_t index = 0; index < entryCount && !stop; ++index) {
    uint8_t entry[16];
    stream->ReadBuffer(entry, sizeof entry);
    std::string name;
    for (char c = 0;;) {
      stream->ReadBuffer(&c, 1);
      if (c == '\0') break;
      // The format allows 256 bytes; anything past the longest name the reader takes
      // is damage, and reading on would misplace every later entry anyway.
      if (name.size() == kMaxMemberNameBytes) throw EkoError(CabErrorText(2));
      name += c;
    }
    callback(*this, name, ReadU32LE(entry), ReadU16LE(entry + 8), ReadU16LE(entry + 10), ReadU16LE(entry + 12), ReadU16LE(entry + 14), stop);
  }
  return true;
}
