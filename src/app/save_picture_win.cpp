#include "app/save_picture_win.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/player_win.h"
#include "platform/wide_text_win.h"

namespace {
// An interface pointer released with its holder.
template <typename T>
class TComPtr {
public:
  TComPtr() = default;
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  ~TComPtr() {
    if (FPointer != nullptr) FPointer->Release();
  }
  T** Out() { return &FPointer; }
  T* operator->() const { return FPointer; }
  T* Get() const { return FPointer; }

private:
  T* FPointer = nullptr;
};

std::string Failure(const char* step, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s (0x%08lX)", step, static_cast<unsigned long>(result));
  return text;
}

// The encoding itself; the stream's file stays when it fails (the caller deletes it).
std::string Encode(IWICImagingFactory* factory, const TPictureCopy& picture, const std::filesystem::path& path) {
  TComPtr<IWICStream> stream;
  HRESULT hr = factory->CreateStream(stream.Out());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (FAILED(hr)) return Failure("the file cannot be created", hr);
  TComPtr<IWICBitmapEncoder> encoder;
  hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  TComPtr<IWICBitmapFrameEncode> frame;
  TComPtr<IPropertyBag2> options;
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.Out(), options.Out());
  if (SUCCEEDED(hr)) hr = frame->Initialize(options.Get());
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(picture.Width), static_cast<UINT>(picture.Height));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (FAILED(hr)) return Failure("no PNG encoder", hr);
  if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return "the PNG encoder refuses 24-bit pictures";
  hr = frame->WritePixels(static_cast<UINT>(picture.Height), static_cast<UINT>(picture.Stride),
                          static_cast<UINT>(picture.Pixels.size()), const_cast<BYTE*>(picture.Pixels.data()));
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  return FAILED(hr) ? Failure("the picture cannot be written", hr) : std::string();
}

// The file name the Save dialog proposes.
std::wstring ProposedName(const TWinPlayer& player) {
  wchar_t name[64];
  std::swprintf(name, std::size(name), L"seg%03d_frame%05d.png", player.Engine.CurrentSegment() + 1,
                std::max(player.Engine.ShownFrame(), 0));
  return name;
}

// The Save dialog; an empty path when the user cancels.
std::filesystem::path AskFileName(const TWinPlayer& player) {
  std::wstring fileName(32768, L'\0');
  const std::wstring proposed = ProposedName(player);
  std::copy(proposed.begin(), proposed.end(), fileName.begin());
  const std::wstring title = Utf8ToWide(player.Texts.Menu(TMenuText::kSavePicture));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = player.MainWindow;
  dialog.lpstrFilter = L"PNG (*.png)\0*.png\0";
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  dialog.lpstrDefExt = L"png";
  if (!GetSaveFileNameW(&dialog)) return {};
  fileName.resize(wcslen(fileName.c_str()));
  return fileName;
}
}  // namespace

TPictureCopy CopyPicture(const TkoPictureView& picture) {
  TPictureCopy copy;
  if (picture.IsEmpty() || picture.BytesPerPixel() == 0) return copy;
  copy.Width = picture.Width;
  copy.Height = picture.Height;
  copy.Stride = (picture.Width * 3 + 3) / 4 * 4;
  copy.Pixels.assign(static_cast<size_t>(copy.Stride) * static_cast<size_t>(copy.Height), 0);
  const int32_t step = picture.BytesPerPixel();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint8_t* from = picture.Row(y);
    uint8_t* to = copy.Pixels.data() + static_cast<size_t>(copy.Stride) * static_cast<size_t>(y);
    for (int32_t x = 0; x < picture.Width; ++x, from += step, to += 3) std::memcpy(to, from, 3);
  }
  return copy;
}

std::string WritePng(const TPictureCopy& picture, const std::filesystem::path& path) {
  if (picture.Pixels.empty()) return "there is no picture";
  // COM is the window thread's for the program's life (wWinMain).
  TComPtr<IWICImagingFactory> factory;
  const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
  if (FAILED(hr)) return Failure("no Windows Imaging Component", hr);
  const std::string failure = Encode(factory.Get(), picture, path);
  if (!failure.empty()) DeleteFileW(path.c_str());
  return failure;
}

void SavePicture(TWinPlayer& player) {
  if (player.Engine.State() == psStopped) return;
  const TPictureCopy picture = CopyPicture(player.Frames.Picture());
  if (picture.Pixels.empty()) return;
  const std::filesystem::path path = AskFileName(player);
  if (path.empty()) return;
  const std::string failure = WritePng(picture, path);
  if (failure.empty()) return;
  const std::string text = player.Texts.Format(TMessageText::kCannotSavePictureFmt, WideToUtf8(path.wstring()));
  ShowBox(player.MainWindow, text + "\r\n" + failure, player.Texts.Message(TMessageText::kError),
          MB_OK | MB_ICONERROR);
}
