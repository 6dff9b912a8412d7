#include "app/message_boxes_win.h"

#include "platform/wide_text_win.h"

int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}

UINT SessionBoxFlags(const TSessionBox& box) {
  return MB_OK | (box.Kind == TSessionBox::TKind::kError ? MB_ICONERROR : MB_ICONWARNING);
}

void TPendingBoxes::ShowAll(HWND owner) {
  while (!FBoxes.empty()) {
    const TBox box = std::move(FBoxes.front());
    FBoxes.pop_front();
    ShowBox(box.Unowned ? nullptr : owner, box.Text, box.Caption, box.Flags);
    if (box.After != nullptr) box.After();
  }
}
