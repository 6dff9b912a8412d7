#include "session/settings_file.h"

TSettingsRead ReadSettings(TSettingsFileAccess& file, TSettingsStore& store) {
  store = TSettingsStore();
  std::string text;
  switch (file.Read(text)) {
    case TSettingsFileAccess::TRead::kMissing: return TSettingsRead::kMissing;
    case TSettingsFileAccess::TRead::kBusy: return TSettingsRead::kBusy;
    case TSettingsFileAccess::TRead::kRead: break;
  }
  switch (store.Parse(text)) {
    case TSettingsText::kLaterVersion: return TSettingsRead::kLaterVersion;
    case TSettingsText::kDamaged: return TSettingsRead::kDamaged;
    case TSettingsText::kSettings: break;
  }
  return TSettingsRead::kRead;
}

TSettingsWrite WriteSettingsChanges(TSettingsFileAccess& file, const TSettingsChanges& changes) {
  TSettingsStore store;
  switch (ReadSettings(file, store)) {
    case TSettingsRead::kBusy: return TSettingsWrite::kDeferred;
    case TSettingsRead::kLaterVersion: return TSettingsWrite::kLeftAlone;
    case TSettingsRead::kDamaged:
      if (!file.MoveAside()) return TSettingsWrite::kDeferred;
      break;
    case TSettingsRead::kRead:
    case TSettingsRead::kMissing: break;
  }
  const bool allTaken = changes.ApplyTo(store);
  if (!file.Replace(store.Text())) return TSettingsWrite::kDeferred;
  return allTaken ? TSettingsWrite::kWritten : TSettingsWrite::kSuperseded;
}
