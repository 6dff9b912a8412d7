#include "session/fixed_texts.h"

#include "session/about_box.h"
#include "session/command_line.h"

namespace {
constexpr TFixedTexts kRussian = {
    "Свойства файла",
    "Справочная информация о roRezodu\rнаходится в файле README.txt,\rкоторый поставляется с программой.",
    kCommandLineHelpCaption,
    kCommandLineHelpText,
    kInvalidCommandLineText,
    kAboutCaption,
    kAboutCloseButton,
    kAboutNotice,
    "Лицензии",
    "roRezodu — свободная программа: её можно распространять\r"
    "и изменять на условиях GNU General Public License\r"
    "версии 2 или (по вашему выбору) любой более поздней.\r\r",
    "В программе есть эти библиотеки:\r",
    "Полные тексты лицензий — в файлах LICENSE и NOTICES,\r"
    "которые поставляются с программой.",
    "Справка",
    "Закрыть",
};

// Twenty-three lines like the Russian help, the option words kept as they are typed.
constexpr char kEnglishCommandLineHelp[] =
    "\"FileName.exe\" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] [-closeonfinish]\r"
    "[-skipidle SECONDS]\r"
    "\r"
    "fullscreen - full screen without the control bar\r"
    "max - maximized (fills the screen; the title bar and control bar stay)\r"
    "min - smallest size (600 x 400)\r"
    "w h - Width, Height - the player's width and height\r"
    "\r"
    "c - Center - in the middle of the screen\r"
    "\r"
    "L - Left - at the screen's left edge\r"
    "R - Right - at the screen's right edge\r"
    "x - x pixels from the screen's left edge\r"
    "\r"
    "T - Top - at the screen's top edge\r"
    "B - Bottom - at the screen's bottom edge\r"
    "y - y pixels from the screen's top edge\r"
    "\r"
    "N - Segment Number - start playing at segment N\r"
    "\r"
    "CloseOnFinish - close the player when playback ends\r"
    "\r"
    "SkipIdle - skip idle stretches of at least SECONDS seconds (0 - do not skip)";

constexpr TFixedTexts kEnglish = {
    "File properties",
    "Help for roRezodu is in\rthe file README.txt,\rwhich comes with the program.",
    "roRezodu command-line options",
    kEnglishCommandLineHelp,
    "Invalid command line.",
    "About roRezodu",
    "Close",
    "This program is free of charge.\r\n"
    "It may be freely copied and distributed\r\n"
    "along with films.",
    "Licenses",
    "roRezodu is free software: you can redistribute it and\r"
    "modify it under the terms of the GNU General Public License,\r"
    "version 2 or (at your option) any later version.\r\r",
    "The program contains these libraries:\r",
    "The full license texts are in the files LICENSE and\r"
    "NOTICES, which come with the program.",
    "Help",
    "Exit",
};
}  // namespace

const TFixedTexts& FixedTexts(TUiLanguage language) {
  return language == TUiLanguage::kEnglish ? kEnglish : kRussian;
}
