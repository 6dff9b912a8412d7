// Native cabinet extraction on libmspack. mspack reads and writes through our own
// mspack_system, which opens targets without truncating them (as FDI does), refuses
// to follow a symbolic link at the target, and counts what each target receives so
// that a member expanding past the size limit fails and is deleted.
#include <fcntl.h>
#include <mspack.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <list>
#include <system_error>
#include <vector>

#include "film/cab_member_name.h"
#include "film/ko_cab.h"
#include "film/ko_cab_common.h"

namespace {

struct TCabFile {
  mspack_file base;  // mspack only passes the pointer back
  int fd;
  bool output;
  uint64_t written;
};

struct TCabSystem {
  mspack_system base;
  uint64_t limit;        // per output file
  bool outputOpened;     // the current member's target was opened by us
  bool limitExceeded;    // the current member wrote past the limit
};

mspack_file* SysOpen(mspack_system* self, const char* fileName, int mode) {
  auto* system = reinterpret_cast<TCabSystem*>(self);
  int flags = O_RDONLY;
  if (mode == MSPACK_SYS_OPEN_WRITE) flags = O_WRONLY | O_CREAT | O_NOFOLLOW;  // no O_TRUNC, as FDI
  else if (mode == MSPACK_SYS_OPEN_UPDATE) flags = O_RDWR;
  else if (mode == MSPACK_SYS_OPEN_APPEND) flags = O_WRONLY | O_APPEND;
  const int fd = ::open(fileName, flags | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  auto* file = new TCabFile{{0}, fd, mode == MSPACK_SYS_OPEN_WRITE, 0};
  if (file->output) system->outputOpened = true;
  return &file->base;
}

void SysClose(mspack_file* handle) {
  auto* file = reinterpret_cast<TCabFile*>(handle);
  ::close(file->fd);
  delete file;
}

int SysRead(mspack_file* handle, void* buffer, int bytes) {
  auto* file = reinterpret_cast<TCabFile*>(handle);
  if (bytes < 0) return -1;
  const ssize_t done = ::read(file->fd, buffer, static_cast<size_t>(bytes));
  return done < 0 ? -1 : static_cast<int>(done);
}

TCabSystem* g_activeSystem = nullptr;  // the system of the running extraction (one at a time)

int SysWrite(mspack_file* handle, void* buffer, int bytes) {
  auto* file = reinterpret_cast<TCabFile*>(handle);
  if (bytes < 0) return -1;
  if (file->output && g_activeSystem && file->written + static_cast<uint64_t>(bytes) > g_activeSystem->limit) {
    g_activeSystem->limitExceeded = true;
    return -1;
  }
  const auto* bytesIn = static_cast<const char*>(buffer);
  for (int left = bytes; left > 0;) {
    const ssize_t done = ::write(file->fd, bytesIn, static_cast<size_t>(left));
    if (done <= 0) return -1;
    bytesIn += done;
    left -= static_cast<int>(done);
  }
  file->written += static_cast<uint64_t>(bytes);
  return bytes;
}

int SysSeek(mspack_file* handle, off_t offset, int mode) {
  auto* file = reinterpret_cast<TCabFile*>(handle);
  const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR : SEEK_END;
  return ::lseek(file->fd, offset, whence) < 0 ? -1 : 0;
}

off_t SysTell(mspack_file* handle) { return ::lseek(reinterpret_cast<TCabFile*>(handle)->fd, 0, SEEK_CUR); }

void SysMessage(mspack_file*, const char*, ...) {}  // mspack's warnings are not shown
void* SysAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void SysFree(void* block) { std::free(block); }
void SysCopy(void* source, void* target, size_t bytes) { std::memmove(target, source, bytes); }

// A decompressor on our system, with the cabinets it opened; closes them all.
class TDecompressor {
public:
  explicit TDecompressor(uint64_t limit)
      : FSystem{{SysOpen, SysClose, SysRead, SysWrite, SysSeek, SysTell, SysMessage, SysAlloc, SysFree, SysCopy,
                 nullptr},
                limit, false, false},
        FCabd(mspack_create_cab_decompressor(&FSystem.base)) {
    if (!FCabd) throw EkoCabinet(5, 0, true);
  }
  ~TDecompressor() {
    for (auto it = FOpened.rbegin(); it != FOpened.rend(); ++it) FCabd->close(FCabd, *it);
    mspack_destroy_cab_decompressor(FCabd);
  }
  TDecompressor(const TDecompressor&) = delete;
  TDecompressor& operator=(const TDecompressor&) = delete;

  // mspack keeps the name pointer and reopens the cabinet by it while extracting, so
  // the names live as long as the decompressor.
  mscabd_cabinet* Open(const std::filesystem::path& path) {
    const std::string& name = FNames.emplace_back(path.native());
    mscabd_cabinet* cabinet = FCabd->open(FCabd, name.c_str());
    if (cabinet) FOpened.push_back(cabinet);
    return cabinet;
  }
  // Closing one cabinet of a set frees the whole set: an appended one is not closed
  // on its own.
  bool Append(mscabd_cabinet* last, mscabd_cabinet* next) {
    if (FCabd->append(FCabd, last, next) != MSPACK_ERR_OK) return false;
    std::erase(FOpened, next);
    return true;
  }
  mscab_decompressor* Cabd() { return FCabd; }
  TCabSystem& System() { return FSystem; }

private:
  TCabSystem FSystem;
  mscab_decompressor* FCabd;
  std::vector<mscabd_cabinet*> FOpened;
  std::list<std::string> FNames;
};

// Opens and appends the following cabinets of a set; each must be a plain file name
// in the same folder. Stops quietly at the first one that is missing or does not fit.
void FollowCabinetSet(TDecompressor& decompressor, mscabd_cabinet* first, const std::filesystem::path& folder) {
  mscabd_cabinet* last = first;
  std::vector<std::filesystem::path> seen;
  while (last->nextname && IsPlainMemberFileName(last->nextname, false)) {
    const auto element = MemberPartToPath(last->nextname, false);
    if (!element) return;
    const std::filesystem::path next = folder / *element;
    std::error_code error;
    if (!std::filesystem::is_regular_file(next, error)) return;
    for (const auto& path : seen)
      if (std::filesystem::equivalent(path, next, error)) return;
    seen.push_back(next);
    mscabd_cabinet* cabinet = decompressor.Open(next);
    if (!cabinet || !decompressor.Append(last, cabinet)) return;
    last = cabinet;
  }
}

void ApplyDateAndAttributes(const std::filesystem::path& target, const mscabd_file& member) {
  const auto date = static_cast<uint16_t>(((member.date_y - 1980) << 9) | (member.date_m << 5) | member.date_d);
  const auto time = static_cast<uint16_t>((member.time_h << 11) | (member.time_m << 5) | (member.time_s / 2));
  const int64_t seconds = DosDateTimeToUnixTime(date, time);
  if (seconds >= 0) {
    const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
    ::utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  if (member.attribs & MSCAB_ATTRIB_RDONLY) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) ::chmod(target.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
  }
}

// Makes an existing read-only target writable; false when it is to be left alone.
bool PrepareExistingTarget(const std::filesystem::path& target, uint8_t options) {
  struct stat info {};
  if (::lstat(target.c_str(), &info) != 0) return true;
  if (!S_ISREG(info.st_mode)) return false;
  if ((info.st_mode & S_IWUSR) != 0) return true;
  if (options & kCabSkipReadOnly) return false;
  return ::chmod(target.c_str(), info.st_mode | S_IWUSR) == 0;
}

void ExtractMember(TDecompressor& decompressor, mscabd_file& member, const std::filesystem::path& destination,
                   uint8_t options) {
  const auto target = MemberTargetPath(destination, member.filename, (member.attribs & MSCAB_ATTRIB_UTF_NAME) != 0);
  if (!target || member.length > decompressor.System().limit) return;
  std::error_code error;
  std::filesystem::create_directories(target->parent_path(), error);
  if (error || !PrepareExistingTarget(*target, options)) return;
  TCabSystem& system = decompressor.System();
  system.outputOpened = system.limitExceeded = false;
  const int result = decompressor.Cabd()->extract(decompressor.Cabd(), &member, target->c_str());
  if (result != MSPACK_ERR_OK || system.limitExceeded) {
    if (system.outputOpened) std::filesystem::remove(*target, error);
    return;
  }
  ApplyDateAndAttributes(*target, member);
}

}  // namespace

struct TkoCabReader::TImpl {};

TkoCabReader::TkoCabReader() : FImpl(std::make_unique<TImpl>()) {}
TkoCabReader::~TkoCabReader() = default;

std::string SystemErrorText(int32_t osError) { return TrimSystemText(std::system_category().message(osError)); }

bool TkoCabReader::IsCabinet(const std::filesystem::path& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseOSError(errno);
  ::close(fd);
  TDecompressor decompressor(FMemberSizeLimit);
  return decompressor.Open(fileName) != nullptr;
}

void TkoCabReader::ExtractFiles(const std::filesystem::path& cabinet, const std::filesystem::path& destination,
                                uint8_t options) {
  std::error_code error;
  const std::filesystem::path cabinetPath = std::filesystem::absolute(cabinet, error);
  const std::filesystem::path folder = std::filesystem::absolute(destination, error).lexically_normal();
  if (cabinetPath.empty() || folder.empty()) return;
  TDecompressor decompressor(FMemberSizeLimit);
  mscabd_cabinet* first = decompressor.Open(cabinetPath);
  if (!first) return;
  if (!(options & kCabOnlyThisCabinet)) FollowCabinetSet(decompressor, first, cabinetPath.parent_path());
  std::filesystem::create_directories(folder, error);
  g_activeSystem = &decompressor.System();
  for (mscabd_file* member = first->files; member; member = member->next)
    ExtractMember(decompressor, *member, folder, options);
  g_activeSystem = nullptr;
}
