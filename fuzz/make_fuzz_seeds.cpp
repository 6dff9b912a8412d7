// Writes seed inputs for the fuzz targets, one folder each under SEED_DIR: small films in
// every packing and carrier and cursor records, so fuzzing starts from inputs the loader
// takes whole; a language table with every key; command lines the parser takes.
#include <cstdio>
#include <cstring>

#include "session/ui_texts.h"
#include "playback/picture_layout.h"
#include "text/text_index.h"
#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
void WriteFilmSeeds(const std::filesystem::path& films, const std::filesystem::path& cursors) {
  for (Packing packing : {Packing::Stored, Packing::MsZip, Packing::Lzx, Packing::Lzma, Packing::LzmaUnknownSize}) {
    std::vector<SegmentSpec> segments(2);
    for (SegmentSpec& spec : segments) {
      spec.data.pictures = {Picture::Filled(5, 3, 0x204060), Picture::Filled(5, 3, 0x204061)};
      spec.data.cursorRecords = {DefaultCursorRecord(), EmptyCursorRecord()};
      spec.sound = Bytes{'I', 'D', '3', 4};
    }
    segments[0].packing = packing;
    segments[1].data.samplesPerFrame = 3;
    const Bytes film = BuildFilm(segments);
    const std::string n = std::to_string(int(packing));
    WriteBytesToFile(films / ("film" + n + ".kof"), film);
    WriteBytesToFile(films / ("trailer" + n + ".kof"), WithTrailer(film));
    WriteBytesToFile(films / ("appended" + n + ".exe"), AppendedFilm(Bytes(16, 'M'), "A=B\r\n", film));
  }
  WriteBytesToFile(cursors / "monochrome", DefaultCursorRecord());
  WriteBytesToFile(cursors / "colour", CursorRecord(ColourCursor(3, 4, 8, 8, std::vector<uint32_t>(64, 0xFF00FF00))));
  WriteBytesToFile(cursors / "mixed", Concat({EmptyCursorRecord(), DefaultCursorRecord(), EmptyCursorRecord()}));
}

// Every key with its built-in value (formats keep their conversion), one line each.
void WriteLanguageSeeds(const std::filesystem::path& folder) {
  std::string table;
  for (const TTextEntry& entry : kMessageTexts) table += std::string(entry.Key) + "=" + entry.BuiltIn + "\r\n";
  for (const TTextEntry& entry : kMenuTexts) table += std::string(entry.Key) + "=" + entry.BuiltIn + "\r\n";
  WriteBytesToFile(folder / "every_key", Bytes(table.begin(), table.end()));
  const std::string few = "Error=Fehler\nCannotOpenFileFmt=Kann %s nicht öffnen\n=\nWarning\r\n";
  WriteBytesToFile(folder / "few_keys", Bytes(few.begin(), few.end()));
}

// A 1280 x 1024 screen and the parameters, 16 bits a character, each ended by a 0.
void WriteCommandLineSeeds(const std::filesystem::path& folder) {
  const std::vector<std::vector<std::wstring>> lines = {
      {L"C:\\Фильмы\\урок.kof", L"/size", L"800", L"600", L"/pos", L"c", L"/segm", L"2", L"/closeonfinish"},
      {L"-SIZE", L"fullscreen", L"/pos", L"r", L"b", L"/?"},
      {L"/size", L"max", L"/pos", L"-50", L"+70", L"/segm", L"-2147483648"},
      {L"film.kof", L"/skipidle", L"3600", L"/closeonfinish"},
      {L"/skipidle", L"0", L"/skipidle", L"3601"},
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const TkoSize screen{1280, 1024};
    Bytes bytes(sizeof screen);
    std::memcpy(bytes.data(), &screen, sizeof screen);
    for (const std::wstring& parameter : lines[i]) {
      for (const wchar_t c : parameter) bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8 & 0xFF)});
      bytes.insert(bytes.end(), {0, 0});
    }
    WriteBytesToFile(folder / ("line" + std::to_string(i)), bytes);
  }
}
}  // namespace

// A text index of two segments with words on a line, Latin and Cyrillic, with a query
// after it; words stacked in one place with a long phrase of them; an empty index.
void WriteTextIndexSeeds(const std::filesystem::path& dir) {
  TTextIndex index;
  index.Film = "lesson.kof";
  index.FilmBytes = 4096;
  index.FilmIdentity = "0123456789abcdef";
  index.Languages = "eng+rus";
  index.Segments = {{800, 600}, {320, 200}};
  index.Words = {{"Open", 90, 1, {10, 10, 40, 20}, 1, 5},
                 {"Settings...", 85, 1, {44, 10, 104, 20}, 1, 5},
                 {"Настройки", 70, 2, {0, 0, 60, 12}, 0.5, 0.5}};
  const std::string full = TextIndexDocument(index) + '\0' + "open settings";
  WriteBytesToFile(dir / "index.json", Bytes(full.begin(), full.end()));
  index.Words.assign(40, {"a", 90, 1, {10, 10, 11, 20}, 0, 10});
  const std::string stacked = TextIndexDocument(index) + '\0' + "a a a a a a a a a a a a a a a b";
  WriteBytesToFile(dir / "stacked.json", Bytes(stacked.begin(), stacked.end()));
  index.Words.clear();
  const std::string empty = TextIndexDocument(index);
  WriteBytesToFile(dir / "empty.json", Bytes(empty.begin(), empty.end()));
}

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: make_fuzz_seeds SEED_DIR\n"), 2;
  const std::filesystem::path seeds = argv[1];
  for (const char* target :
       {"film_loader_fuzz", "cursor_record_fuzz", "language_table_fuzz", "command_line_fuzz", "text_index_fuzz"})
    std::filesystem::create_directories(seeds / target);
  WriteFilmSeeds(seeds / "film_loader_fuzz", seeds / "cursor_record_fuzz");
  WriteLanguageSeeds(seeds / "language_table_fuzz");
  WriteCommandLineSeeds(seeds / "command_line_fuzz");
  WriteTextIndexSeeds(seeds / "text_index_fuzz");
  return 0;
}
