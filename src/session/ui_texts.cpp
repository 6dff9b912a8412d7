#include "session/ui_texts.h"

#include "session/command_table.h"
#include "session/fixed_texts.h"
#include "film/film_loader.h"
#include "film/ko_error.h"
#include "film/ko_string_list.h"
#include "film/safe_format.h"
#include "text/utf8_text.h"

const TTextEntry kMessageTexts[kMessageTextCount] = {
    {"Error", "Ошибка", "Error"},
    {"Loading", "Загрузка фильма ...", "Loading film..."},
    {"InvalidVersionFormat", kDefaultInvalidVersionFormat, "Segment %d needs a newer version of the player"},
    {"Warning", "Внимание", "Warning"},
    {"SegmentCountFmt", "Количество сегментов: %d", "Number of segments: %d"},
    {"WrongFile", "Неверный формат файла: %s", "Invalid file format: %s"},
    {"WrongDisplaySettings", "Данный видео режим не поддерживается (%d бит цвет)",
     "This display mode is not supported (%d-bit color)"},
    {"CannotOpenFileFmt", "Не могу открыть файл %s", "Cannot open file %s"},
    {"CannotCreateTempFile", "Не могу создать временный файл", "Cannot create a temporary file"},
    {"VideoDecompressorError", "Ошибка при запуске видео декомпрессора", "Cannot start the video decompressor"},
    {"Segments", "Сегменты", "Segments"},
    {"CannotSavePictureFmt", "Не удалось сохранить кадр в файл %s", "Cannot save the frame to %s"},
    // Resuming films.
    {"ResumeOfferFmt", "Продолжить с %s — Ctrl+R", "Resume from %s — Ctrl+R"},
    // A screen reader's values.
    {"BarValue", "%s из %s, сегмент %s из %s", "%s of %s, segment %s of %s"},
    {"VolumeValue", "%s%", "%s%"},
    {"IdleSkippedFmt", "Пропущено %s", "Skipped %s"},
    // Exporting a video.
    {"ExportCaption", "Экспорт видео", "Export video"},
    {"ExportFormat", "Формат:", "Format:"},
    {"ExportLosslessMkv", "MKV без потерь", "Lossless MKV"},
    {"ExportRange", "Фрагмент", "Range"},
    {"ExportWholeFilm", "Весь фильм", "Entire film"},
    {"ExportThisSegment", "Этот сегмент", "This segment"},
    {"ExportFromHere", "С текущего места до конца сегмента", "From current position to end of segment"},
    {"ExportSize", "Размер", "Size"},
    {"ExportFilmSize", "Как в фильме", "Original size"},
    {"ExportHalfSize", "Вдвое меньше", "Half size"},
    {"ExportWidth", "Ширина:", "Custom width:"},
    {"ExportSave", "Сохранить...", "Save..."},
    {"Cancel", "Отмена", "Cancel"},
    {"ExportProgressFmt", "Экспорт видео: %s", "Exporting video: %s"},
    {"ExportTimeLeftFmt", "осталось %s", "%s remaining"},
    {"ExportSavedFmt", "Сохранено: %s", "Saved %s"},
    {"ExportShowInFolder", "Показать в папке — Ctrl+Shift+E", "Show in folder — Ctrl+Shift+E"},
    {"ExportFailedFmt", "Видео не сохранено: %s", "Export failed: %s"},
    {"ExportUnavailable", "Для экспорта нужен kof-export.exe в папке программы.",
     "Export requires kof-export.exe in the program folder."},
    {"ExportSavedWarningFmt", "Сохранено с предупреждением: %s", "Saved %s with a warning:"},
    {"ExportSavedWarningsFmt", "Сохранено с предупреждениями: %s", "Saved %s with warnings:"},
    // Find on screen.
    {"SearchPrompt", "Введите слово, которое было на экране", "Type a word that was on screen"},
    {"SearchHitFmt", "%s   сегмент %s   %s", "%s   segment %s   %s"},
    {"SearchFoundOneFmt", "Найдено: %s", "%s match"},
    {"SearchFoundFmt", "Найдено: %s", "%s matches"},
    {"SearchNothingFound", "Не найдено", "No matches"},
    {"SearchNoIndexFmt", "Рядом с фильмом нет текстового индекса (%s). Создайте его: kof index %s",
     "There is no text index beside the film (%s). Make it with: kof index %s"},
    {"SearchDamagedIndexFmt", "Не удалось прочитать текстовый индекс: %s", "The text index cannot be read: %s"},
    {"SearchOtherFilm", "Текстовый индекс сделан для другой версии фильма — создайте его заново",
     "The text index belongs to another version of this film — make it again"},
    {"SearchCutFmt", "Найдено: %s, и поиск остановлен: он слишком долог. Уточните запрос",
     "Search stopped because it took too long (%s found so far). Try a more specific search."},
    {"SearchResults", "Результаты поиска", "Search results"},
    {"SegmentListClose", "Закрыть список", "Close the list"},
};

const TTextEntry kMenuTexts[kMenuTextCount] = {
    {"File", "Файл", "File"},
    {"Actions", "Действия", "Playback"},
    {"View", "Вид", "View"},
    {"Help", "Справка", "Help"},
    {"Load", "Загрузить", "Open"},
    {"Properties", "Свойства", "Properties"},
    {"Exit", "Выход", "Exit"},
    {"Play", "Воспроизведение", "Play"},
    {"Pause", "Пауза", "Pause"},
    {"Stop", "Стоп", "Stop"},
    {"Segments", "Сегменты", "Segments"},
    {"Prev", "Предыдущий", "Previous segment"},
    {"Next", "Следующий", "Next segment"},
    {"ShowPanel", "Панель управления", "Control bar"},
    {"FullScreen", "Во весь экран", "Full screen"},
    {"About", "О программе", "About roRezodu"},
    {"Speed", "Скорость воспроизведения", "Playback speed"},
    {"Sound", "Громкость", "Volume"},
    {"Progress", "Прогресс", "Position"},
    {"SeekBack", "Назад на 5 секунд", "Back 5 seconds"},
    {"SeekForward", "Вперёд на 5 секунд", "Forward 5 seconds"},
    {"PrevFrame", "Предыдущий кадр", "Previous frame"},
    {"NextFrame", "Следующий кадр", "Next frame"},
    {"SegmentStart", "Начало сегмента", "Go to segment start"},
    {"SegmentEnd", "Конец сегмента", "Go to segment end"},
    {"SavePicture", "Сохранить кадр", "Save frame as"},
    // Resuming films.
    {"Resume", "Продолжить с ...", "Resume from last position"},
    {"ZoomScreenScale", "Масштаб экрана", "Match screen scale"},
    {"ZoomOriginalPixels", "Исходные пиксели", "Actual pixels (1:1)"},
    {"ZoomFitWindow", "По размеру окна", "Fit to window"},
    {"SkipIdle", "Пропускать паузы", "Skip idle stretches"},
    {"ExportVideo", "Экспорт видео", "Export video"},
    {"FindOnScreen", "Найти на экране", "Find on screen"},
};

const char kSetMenuTextErrorText[] = "SetMenuText: SetMenuItemInfo error";
const char kSetMenuTextErrorCaption[] = "Debug";

namespace {

TkoStringList LanguageTable(const std::string& languageBlock) {
  TkoStringList table;
  table.SetText(languageBlock.data(), static_cast<int32_t>(languageBlock.size()));
  return table;
}

std::string LookUp(const TkoStringList& table, const char* key, const TAnsiToUtf8& toUtf8) {
  const std::string value = table.GetValue(key);
  return value.empty() ? value : toUtf8(value);
}

// The table's value, or what stands under it when the key is missing: nothing under the
// Russian set (the item keeps the text it has), the built-in text under English.
std::string LookUpOver(const TkoStringList& table, const char* key, const char* builtIn, TUiLanguage language,
                       const TAnsiToUtf8& toUtf8) {
  std::string value = LookUp(table, key, toUtf8);
  return value.empty() && language == TUiLanguage::kEnglish ? builtIn : value;
}

// The access key of each text in the built-in menus of a language: the letter (its
// first occurrence, either case) that "&" marks, unique within every menu the text is in
// (the context menu holds most of them, and the language's submenu too); "" for the texts
// that name no menu item.
struct TAccessKeys {
  const char* Items[kMenuTextCount];
  const char* Help;   // the help item's
  const char* Close;  // the context menu's Close
};

constexpr TAccessKeys kRussianAccessKeys = {
    {
        "Ф", "Д", "В", "С",                       // Файл, Действия, Вид, Справка
        "З", "С", "В",                            // Загрузить, Свойства..., Выход
        "В", "П", "т", "г", "д", "л",             // Воспроизведение, Пауза, Стоп, Сегменты, Предыдущий, Следующий
        "у", "е", "О",                            // Панель управления, Во весь экран, О программе...
        "",  "",  "",                             // the tooltips Speed, Volume, Progress
        "Н", "5", "к", "а", "ч", "ц", "х",        // the seek commands, Сохранить кадр...
        "о",                                      // Продолжить с ...
        "М", "И", "р",                            // the zoom choices
        "П",                                      // Пропускать паузы
        "Э",                                      // Экспорт видео...
        "э",                                      // Найти на экране...
    },
    "С",  // Справка
    "ы",  // Закрыть
};

constexpr TAccessKeys kEnglishAccessKeys = {
    {
        "F", "P", "V", "H",                       // File, Playback, View, Help
        "O", "P", "x",                            // Open..., Properties..., Exit
        "P", "a", "S", "g", "v", "N",             // Play, Pause, Stop, Segments, Previous / Next segment
        "C", "F", "b",                            // Control bar, Full screen, About roRezodu...
        "",  "",  "",                             // the tooltips Speed, Volume, Position
        "k", "5", "m", "t", "e", "d", "r",        // the seek commands, Save frame as...
        "u",                                      // Resume from last position
        "l", "1", "w",                            // the zoom choices
        "S",                                      // Skip idle stretches
        "i",                                      // Export video...
        "F",                                      // Find on screen...
    },
    "H",  // Help
    "x",  // Exit
};

// The text with "&" before the first occurrence of key's letter (either case); unchanged
// when key is empty or its letter does not occur.
std::string WithAccessKey(const std::string& text, const char* key) {
  const char32_t letter = FoldCase(DecodeUtf8(key, 0).first);
  for (size_t at = 0; *key != '\0' && at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    if (length != 0 && FoldCase(code) == letter) return std::string(text, 0, at).append("&").append(text, at);
    at += length == 0 ? 1 : length;
  }
  return text;
}

// What follows an item's words in a menu: under a film's table only the bar's shortcut,
// as those tables' menus have always shown it; in the built-in texts the dots of an item
// that opens a box, then the bar's shortcut.
std::string ItemSuffix(const TCommand& command, TMenuId menu, TMenuSuffixes suffixes, TUiLanguage language) {
  const bool bar = menu != TMenuId::kContext;
  std::string shortcut;
  if (bar && command.Key.Key != 0) shortcut.append(1, '\b').append(ShortcutText(command.Key));
  if (suffixes == TMenuSuffixes::kTable) {
    if (const size_t plus = shortcut.find('+'); command.SpacedUnderATable && plus != std::string::npos)
      shortcut.replace(plus, 1, " + ");
    return shortcut;
  }
  const bool dots = command.Dots == TBoxDots::kEverywhere ||
                    (command.Dots == TBoxDots::kNotInTheRussianBar && !(bar && language == TUiLanguage::kRussian));
  return dots ? shortcut.insert(0, "...") : shortcut;
}

// The format to use: the current text when its conversions fit, else the built-in one;
// null when neither fits (the text is then shown as it is).
const char* UsableFormat(const std::string& current, const char* builtIn, char conversion) {
  if (IsSafeFormat(current, conversion)) return current.c_str();
  return IsSafeFormat(builtIn, conversion) ? builtIn : nullptr;
}
}  // namespace

TUiTexts::TUiTexts(TUiLanguage language) : FLanguage(language) {
  for (size_t i = 0; i < kMessageTextCount; ++i) FMessages[i] = kMessageTexts[i].In(language);
  for (size_t i = 0; i < kMenuTextCount; ++i) FMenus[i] = kMenuTexts[i].In(language);
}

void TUiTexts::OverlayMessageTexts(const std::string& languageBlock, const TAnsiToUtf8& toUtf8) {
  if (languageBlock.empty()) return;
  const TkoStringList table = LanguageTable(languageBlock);
  for (size_t i = 0; i < kMessageTextCount; ++i) {
    std::string value = LookUp(table, kMessageTexts[i].Key, toUtf8);
    if (!value.empty()) FMessages[i] = std::move(value);
  }
}

std::vector<TMenuItemText> TUiTexts::OverlayMenuTexts(const std::string& languageBlock, const TAnsiToUtf8& toUtf8) {
  if (languageBlock.empty()) return {};
  const TkoStringList table = LanguageTable(languageBlock);
  for (size_t i = 0; i < kMenuTextCount; ++i)
    FMenus[i] = LookUpOver(table, kMenuTexts[i].Key, kMenuTexts[i].In(FLanguage), FLanguage, toUtf8);
  const TFixedTexts& fixed = FixedTexts(FLanguage);
  return MenuItemTexts(TMenuSuffixes::kTable, LookUpOver(table, kContextHelpKey, fixed.ContextHelp, FLanguage, toUtf8),
                       LookUpOver(table, kCloseKey, fixed.Close, FLanguage, toUtf8));
}

std::vector<TMenuItemText> TUiTexts::MenuItemTexts(TMenuSuffixes suffixes, const std::string& contextHelp,
                                                   const std::string& close) const {
  // A film's table gives its texts as they stand; the built-in ones carry their keys.
  const TAccessKeys* keys = suffixes == TMenuSuffixes::kTable ? nullptr
                            : FLanguage == TUiLanguage::kEnglish ? &kEnglishAccessKeys
                                                                 : &kRussianAccessKeys;
  const auto keyed = [&](const std::string& text, const char* key) {
    return keys != nullptr ? WithAccessKey(text, key) : text;
  };
  const auto label = [&](TMenuText text) {
    return keyed(Menu(text), keys != nullptr ? keys->Items[static_cast<size_t>(text)] : "");
  };
  const std::string help = keyed(contextHelp, keys != nullptr ? keys->Help : "");
  const std::string exit = keyed(close, keys != nullptr ? keys->Close : "");
  const auto words = [&](const TCommand& command, TMenuId menu) {
    if (command.Id == CM_HELP) return help;
    if (command.Id == CM_EXIT && menu == TMenuId::kContext) return exit;
    return label(*command.Text);
  };
  std::vector<TMenuItemText> items;
  const TMenuText titles[] = {TMenuText::kFile, TMenuText::kActions, TMenuText::kView, TMenuText::kHelp};
  for (int32_t i = 0; i < 4; ++i) items.push_back({TMenuId::kMenuBar, i, label(titles[i])});
  for (const TCommand& command : Commands()) {
    if (command.Bar)
      items.push_back({command.Bar->Menu, command.Bar->Position,
                       words(command, command.Bar->Menu) + ItemSuffix(command, command.Bar->Menu, suffixes, FLanguage)});
    if (command.Context)
      items.push_back({TMenuId::kContext, *command.Context,
                       words(command, TMenuId::kContext) + ItemSuffix(command, TMenuId::kContext, suffixes, FLanguage)});
  }
  return items;
}

std::string TUiTexts::Format(TMessageText text, int32_t value) const {
  const size_t i = static_cast<size_t>(text);
  const char* format = UsableFormat(FMessages[i], kMessageTexts[i].In(FLanguage), 'd');
  return format ? FormatText(format, value) : FMessages[i];
}

std::string TUiTexts::Format(TMessageText text, const std::string& value) const {
  const size_t i = static_cast<size_t>(text);
  const char* format = UsableFormat(FMessages[i], kMessageTexts[i].In(FLanguage), 's');
  return format ? FormatText(format, value.c_str()) : FMessages[i];
}

std::string HelpText(TUiLanguage language) {
  return FixedTexts(language).HelpText;
}

