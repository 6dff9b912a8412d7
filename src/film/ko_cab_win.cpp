// Cabinet extraction through cabinet.dll's FDI. FDICopy walks one cabinet and reports
// each member to CabNotify, which decides where (and whether) it is written; the
// reader follows a set from cabinet to cabinet itself.
#include <windows.h>

#include <set>

#include "film/cab_callbacks_win.h"
#include "film/cab_member_name.h"
#include "film/ko_cab.h"
#include "film/ko_cab_common.h"

struct TkoCabReader::TImpl {
  HFDI Context = nullptr;
  ERF ErrorRecord{};
  std::filesystem::path CabinetPath;
  std::filesystem::path DestinationFolder;
  std::filesystem::path CabinetFolder;  // every cabinet of a set lies here
  uint8_t Options = 0;
  std::filesystem::path NextCabinet;
  std::string NextDisk;
  std::filesystem::path CurrentCabinet;
  std::filesystem::path NextCabinetFromRequest;
  bool NextCabinetRequested = false;
  TCabSession Session;

  HFDI GetContext();
  void DestroyContext();
  INT_PTR Notify(FDINOTIFICATIONTYPE kind, PFDINOTIFICATION record);
  INT_PTR CopyFile(PFDINOTIFICATION record);
  void CloseFile(PFDINOTIFICATION record);
  void RemoveUnfinishedTargets();
};

namespace {

[[noreturn]] void RaiseCabinetError(ERF& record) {
  record.erfType = LastCabError;
  throw EkoCabinet(record.erfOper, record.erfType, record.fError != 0);
}

FNFDINOTIFY(CabNotify) {
  LastCabError = 0;
  return static_cast<TkoCabReader::TImpl*>(pfdin->pv)->Notify(fdint, pfdin);
}

void SetFileDateAndAttributes(const std::filesystem::path& path, USHORT date, USHORT time, USHORT attributes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    FILETIME local{}, utc{};
    if (DosDateTimeToFileTime(date, time, &local) && LocalFileTimeToFileTime(&local, &utc))
      SetFileTime(file, &utc, nullptr, &utc);
    CloseHandle(file);
  }
  const DWORD kept = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_ARCHIVE);
  SetFileAttributesW(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
}

std::wstring UpperPath(const std::filesystem::path& path) {
  std::wstring text = path.native();
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool SamePathIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

HFDI TkoCabReader::TImpl::GetContext() {
  if (Context) return Context;
  ErrorRecord = ERF{};
  const char* problem = "";
  const TCabFunctions* functions = LoadCabinetLibrary(&problem);
  if (!functions) {
    if (*problem) throw EkoCabinet(problem);
    RaiseCabinetError(ErrorRecord);
  }
  Context = functions->FDICreate(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpuUNKNOWN,
                                 &ErrorRecord);
  if (!Context) RaiseCabinetError(ErrorRecord);
  return Context;
}

void TkoCabReader::TImpl::DestroyContext() {
  if (!Context) return;
  const char* problem = "";
  if (const TCabFunctions* functions = LoadCabinetLibrary(&problem)) functions->FDIDestroy(Context);
  Context = nullptr;
}

INT_PTR TkoCabReader::TImpl::CopyFile(PFDINOTIFICATION record) {
  const bool utf8 = (record->attribs & kCabNameIsUtf8) != 0;
  const auto target = MemberTargetPath(DestinationFolder, record->psz1 ? record->psz1 : "", utf8);
  if (!target || static_cast<uint32_t>(record->cb) > Session.limit) return 0;
  std::error_code error;
  std::filesystem::create_directories(target->parent_path(), error);
  if (error) return 0;
  const DWORD attributes = GetFileAttributesW(target->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      if (Options & kCabSkipReadOnly) return 0;
      SetFileAttributesW(target->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
  }
  const INT_PTR handle = OpenCabFile(*target, 0x8121);
  if (handle == -1) return 0;  // skipped; the other members are still extracted
  Session.targets[handle] = TCabTarget{*target};
  return handle;
}

void TkoCabReader::TImpl::CloseFile(PFDINOTIFICATION record) {
  CabClose(record->hf);
  const auto found = Session.targets.find(record->hf);
  if (found == Session.targets.end()) return;
  const TCabTarget target = found->second;
  Session.targets.erase(found);
  if (target.failed)
    DeleteFileW(target.path.c_str());
  else
    SetFileDateAndAttributes(target.path, record->date, record->time, record->attribs);
}

INT_PTR TkoCabReader::TImpl::Notify(FDINOTIFICATIONTYPE kind, PFDINOTIFICATION record) {
  switch (kind) {
    case fdintCABINET_INFO:
      if (!NextCabinetFromRequest.empty()) CurrentCabinet = NextCabinetFromRequest;
      NextCabinet.clear();
      if (record->psz1 && IsPlainMemberFileName(record->psz1, false))
        if (const auto element = MemberPartToPath(record->psz1, false)) NextCabinet = CabinetFolder / *element;
      NextDisk = record->psz2 ? record->psz2 : "";
      return 0;
    case fdintCOPY_FILE:
      return CopyFile(record);
    case fdintCLOSE_FILE_INFO:
      CloseFile(record);
      return TRUE;
    case fdintNEXT_CABINET: {
      if (record->fdie != FDIERROR_NONE || !record->psz1 || !record->psz3) return -1;
      // A member continues in the next cabinet: it must be a plain name beside this one.
      const auto element = IsPlainMemberFileName(record->psz1, false) ? MemberPartToPath(record->psz1, false)
                                                                       : std::nullopt;
      if (!element) return -1;
      NextCabinetFromRequest = CabinetFolder / *element;
      NextCabinetRequested = true;
      std::string opened = record->psz3;
      if (!opened.empty() && opened.back() != '\\') opened += '\\';
      Session.names[opened + record->psz1] = NextCabinetFromRequest;
      return 0;
    }
    default:  // partial file (continued from an earlier cabinet), enumerate
      return 0;
  }
}

void TkoCabReader::TImpl::RemoveUnfinishedTargets() {
  for (auto& [handle, target] : Session.targets) {
    if (target.open) CloseHandle(reinterpret_cast<HANDLE>(handle));
    DeleteFileW(target.path.c_str());
  }
  Session.targets.clear();
}

TkoCabReader::TkoCabReader() : FImpl(std::make_unique<TImpl>()) {}

TkoCabReader::~TkoCabReader() { FImpl->DestroyContext(); }

std::string SystemErrorText(int32_t osError) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(osError), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length > 0 && buffer) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    text.resize(static_cast<size_t>(size > 0 ? size : 0));
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size, nullptr, nullptr);
  }
  if (buffer) LocalFree(buffer);
  return TrimSystemText(text);
}

bool TkoCabReader::IsCabinet(const std::filesystem::path& fileName) {
  HFDI context = FImpl->GetContext();
  const INT_PTR handle = OpenCabFile(fileName, 0x8000);
  if (handle == -1) RaiseOSError(LastCabError);
  const char* problem = "";
  FDICABINETINFO info{};
  const BOOL isCabinet = LoadCabinetLibrary(&problem)->FDIIsCabinet(context, handle, &info);
  CabClose(handle);
  return isCabinet != FALSE;
}

void TkoCabReader::ExtractFiles(const std::filesystem::path& cabinet, const std::filesystem::path& destination,
                                uint8_t options) {
  TImpl& state = *FImpl;
  HFDI context = state.GetContext();
  std::error_code error;
  state.CabinetPath = std::filesystem::absolute(cabinet, error).lexically_normal();
  state.CabinetFolder = state.CabinetPath.parent_path();
  state.DestinationFolder = std::filesystem::absolute(destination, error).lexically_normal();
  state.Options = options;
  state.Session = TCabSession{};
  state.Session.limit = FMemberSizeLimit;
  std::filesystem::create_directories(state.DestinationFolder, error);
  const char* problem = "";
  const TCabFunctions* functions = LoadCabinetLibrary(&problem);
  std::set<std::wstring> visited;  // a set that names an earlier cabinet again ends here
  for (std::filesystem::path current = state.CabinetPath; !current.empty();) {
    state.NextCabinet.clear();
    state.NextDisk.clear();
    state.NextCabinetFromRequest.clear();
    state.CurrentCabinet = current;
    state.NextCabinetRequested = false;
    visited.insert(UpperPath(current));
    std::string name = FdiPathText(current.filename());
    std::string folder = FdiPathText(current.parent_path());
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    SetCabSession(&state.Session);
    functions->FDICopy(context, name.data(), folder.data(), 0, CabNotify, nullptr, &state);
    SetCabSession(nullptr);
    state.RemoveUnfinishedTargets();
    std::filesystem::path next = state.NextCabinetRequested ? state.NextCabinetFromRequest : state.NextCabinet;
    if (!state.NextCabinetRequested && SamePathIgnoringCase(next, current)) next.clear();
    if ((options & kCabOnlyThisCabinet) || next.empty() || !std::filesystem::is_regular_file(next, error)) break;
    if (visited.count(UpperPath(next))) break;
    current = next;
  }
}
