#pragma once
// Cabinet extraction: TkoCabReader lists a Microsoft Cabinet's members and extracts
// them into a folder. On Windows it drives cabinet.dll's decompression interface
// (FDI), loaded at run time (ko_cab_win.cpp); natively it uses libmspack
// (ko_cab_posix.cpp). Listing reads the cabinet's file entries itself (ko_cab.cpp).
//
// Extraction only writes inside the destination folder: a member whose name fails
// the portable name rule (cab_member_name.h) is skipped, and so is the next cabinet
// of a set whose name is not a plain file name in the same folder.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "film/ko_error.h"

class TkoCabReader;

// Called once per member, in the order of the cabinet's file entries. date and time
// are in MS-DOS format; attributes are the raw entry bits (0x80: the name is UTF-8).
// Setting stop ends the listing.
using TCabEnumCallback =
    std::function<void(TkoCabReader& reader, const std::string& name, uint32_t size, uint16_t folderIndex,
                       uint16_t date, uint16_t time, uint16_t attributes, bool& stop)>;

// --- Error texts ----------------------------------------------------------------------

// The text for an FDI error code (0..11); "FDI error" for any other code.
const char* CabErrorText(int32_t errorCode);

// The message of an EkoCabinet. With errorPresent: the code's text and " [0x%04X]",
// and when osError is not 0 also ".\r\n", systemText (see TrimSystemText) and
// " [0x%04X].". Without errorPresent: "FDI error".
std::string BuildCabinetMessage(int32_t errorCode, int32_t osError, bool errorPresent,
                                const std::string& systemText);

// A system message as it goes into a cabinet message: at most 256 characters, with
// trailing blanks, control characters and full stops removed.
std::string TrimSystemText(const std::string& text);

// The operating system's message text for an error code (FormatMessage on Windows,
// strerror natively), already trimmed.
std::string SystemErrorText(int32_t osError);

// Raised when the cabinet library cannot be used: the decompression context cannot be
// created or destroyed, or cabinet.dll is missing ("Cabinet.dll not found") or lacks
// an entry point ("Cabinet.dll is invalid", reported once; later requests raise
// "FDI error"). The shell shows what() in a message box captioned "Error".
class EkoCabinet : public EkoError {
public:
  // Message built by BuildCabinetMessage.
  EkoCabinet(int32_t errorCode, int32_t osError, bool errorPresent);
  // A fixed message (the library loading texts); no error record.
  explicit EkoCabinet(const std::string& message);

  int32_t ErrorCode = 0;
  int32_t OSError = 0;
  bool ErrorPresent = false;
  bool IsCompressor = false;  // only decompression is used
};

// --- The reader -------------------------------------------------------------------------

// ExtractFiles options.
constexpr uint8_t kCabOnlyThisCabinet = 0x01;  // do not follow a set to its next cabinet
constexpr uint8_t kCabSkipReadOnly = 0x02;     // leave existing read-only targets alone

class TkoCabReader {
public:
  TkoCabReader();
  ~TkoCabReader();
  TkoCabReader(const TkoCabReader&) = delete;
  TkoCabReader& operator=(const TkoCabReader&) = delete;

  // True when the file is a cabinet. Throws EkoError with the system's error text
  // ("System Error.  Code: %d.\r\n%s") when the file cannot be opened, EkoCabinet
  // when the cabinet library cannot be used.
  bool IsCabinet(const std::filesystem::path& fileName);

  // Lists the members through the callback. Returns false without calling it when
  // the file is not a cabinet; true otherwise (also when the file cannot be opened a
  // second time). Throws what IsCabinet throws, EkoError("Cabinet file does not have
  // the correct format") on a wrong signature or a member name over 780 bytes,
  // "Failure setting file stream position" when the file entries cannot be reached,
  // and "Cannot read file %s" when the header or an entry is cut short.
  bool EnumFiles(const std::filesystem::path& cabinet, const TCabEnumCallback& callback);

  // Extracts every member into destination (created when missing). options: the
  // kCab* bits; 0 follows a cabinet set from cabinet to cabinet. Failures to read or
  // decompress are not reported: a member that could not be extracted completely is
  // deleted, so the caller notices only that the file is missing. Members are written
  // over existing files without truncating them, with the member's MS-DOS date and
  // time (local time) as modification time and its read-only bit applied.
  // Throws EkoCabinet when the cabinet library cannot be used.
  void ExtractFiles(const std::filesystem::path& cabinet, const std::filesystem::path& destination,
                    uint8_t options);

  // Largest member size extraction accepts. A member announced larger is skipped; one
  // that turns out to expand beyond the limit is cut off there and deleted, so that no
  // truncated file is left that could pass for a good one. Default: no limit.
  void SetMemberSizeLimit(uint64_t bytes) { FMemberSizeLimit = bytes; }
  uint64_t MemberSizeLimit() const { return FMemberSizeLimit; }

  struct TImpl;  // platform state (library context, open targets, set following)

private:
  std::unique_ptr<TImpl> FImpl;
  uint64_t FMemberSizeLimit = UINT64_MAX;
};
