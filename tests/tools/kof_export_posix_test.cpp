// kof export as a user runs it: films from the film writer exported by the real
// binary, the video files decoded with FFmpeg's libraries and compared with what
// `kof frames` draws, frame count, times, size and sound included.
#include <limits>
#include <tuple>

#include "tools/export_media.h"

using namespace filmwriter;
namespace fs = std::filesystem;

namespace {
// A screen: a flat background with a bar and a block that moves with k, all on even
// pixels, so 4:2:0 chroma can hold it.
Picture Screen(int width, int height, int k, uint32_t background) {
  Picture p = Picture::Filled(width, height, background);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < width; ++x) p.At(x, y) = 0x3A6EA5;
  for (int y = 8; y < 14 && y < height; ++y)
    for (int x = 2 * (k % 6); x < 2 * (k % 6) + 8 && x < width; ++x) p.At(x, y) = 0x202020;
  return p;
}

std::vector<Picture> Screens(int width, int height, int count, uint32_t background) {
  std::vector<Picture> pictures;
  for (int k = 0; k < count; ++k) pictures.push_back(Screen(width, height, k, background));
  return pictures;
}


std::vector<CursorSample> Wandering(int samples, int width, int height) {
  std::vector<CursorSample> track;
  for (int i = 0; i < samples; ++i) track.push_back({0, uint16_t(i * 3 % width), uint16_t(i * 2 % height)});
  return track;
}

// Segment names in the recorder's code page: "Введение" and "Итоги".
constexpr const char* kIntroduction = "\xC2\xE2\xE5\xE4\xE5\xED\xE8\xE5";
constexpr const char* kSummary = "\xC8\xF2\xEE\xE3\xE8";
constexpr double kExact = std::numeric_limits<double>::infinity();  // a PSNR: no difference at all

// Segment 1, "Введение": 192 x 128, three pointer samples per frame, 10 fps, 8 frames, sound of 1.5
// s (a tone at its start and one at 1.0 s, after the segment's end). Segment 2, without
// a name: 64 x 48, 10 fps, 4 frames, silent. Segment 3, "Итоги": 151 x 107 at depth 24,
// 5 fps, 6 frames, 0.5 s of sound with a tone at its start. Segment 4 has no rate and
// is skipped.
Bytes FirstSound() { return ToneMp3(1.5, {{0, 0.2}, {1.0, 1.3}}); }

Bytes LessonFilm() {
  SegmentSpec first, silent, third, broken;
  first.data.name = kIntroduction;
  silent.data.name = "";
  third.data.name = kSummary;
  first.data.pictures = Screens(192, 128, 8, 0xFFFFFF);
  first.data.samplesPerFrame = 3;
  first.data.cursorTrack = Wandering(24, 192, 128);
  first.sound = FirstSound();
  silent.data.pictures = Screens(64, 48, 4, 0xC0C0C0);
  third.data.pictures = Screens(151, 107, 6, 0xECE9D8);
  third.bitsPerPixel = 24;
  third.framesPerSecond = 5;
  third.data.cursorTrack = Wandering(6, 151, 107);
  third.sound = ToneMp3(0.5, {{0, 0.2}});
  broken.data.pictures = Screens(8, 8, 2, 0);
  broken.framesPerSecond = 0.2f;  // rounds to 0
  return BuildFilm({first, silent, third, broken});
}

// kof export's exit code and standard error.
KofRun Export(const std::string& arguments, const std::string& shellPrefix = "") {
  return Kof("export " + arguments, shellPrefix, true);
}



Picture Letterboxed(const Picture& picture, int width, int height) {
  Picture canvas = Picture::Filled(width, height, 0);
  const int left = (width - picture.width) / 2, top = (height - picture.height) / 2;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) canvas.At(left + x, top + y) = picture.At(x, y);
  return canvas;
}

}  // namespace

TEST(KofExport, Mp4AndLosslessMkvHoldEveryPictureAtItsTimeWithEachSegmentsSoundAndChapter) {
  TempDir dir;
  const fs::path film = dir / "lesson.kof";
  WriteBytesToFile(film, LessonFilm());
  // Where the player's pictures lie in the video: each frame of segment 1 (30 pictures
  // a second), then segments 2 and 3 letterboxed (10, then 5 a second).
  std::vector<std::pair<size_t, Picture>> shown;
  const std::vector<Picture> first = KofFrames(dir, film, 1, 8), third = KofFrames(dir, film, 3, 6);
  for (int k = 0; k < 8; ++k) shown.emplace_back(3 * k, first[size_t(k)]);
  shown.emplace_back(27, Letterboxed(KofFrame(dir, film, 2, 3), 192, 128));
  for (int k = 0; k < 6; ++k) shown.emplace_back(28 + k, Letterboxed(third[size_t(k)], 192, 128));
  WriteBytesToFile(dir / "first.mp3", FirstSound());
  const std::vector<float> firstSound = DecodeVideo(dir / "first.mp3").sound;

  const struct {
    const char* out;
    const char* options;
    const char* codecs;
    double psnr;
  } cases[] = {
      {"lesson.mp4", "", "h264 aac", 40},
      {"lesson.mkv", " --lossless", "h264 flac", kExact},  // H.264 in RGB without loss
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    const KofRun run = Export(Quoted(film) + " -o " + Quoted(dir / c.out) + c.options);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("segment 4"), std::string::npos) << "the segment without a rate is reported";

    const DecodedVideo video = DecodeVideo(dir / c.out);
    EXPECT_EQ(std::tuple(video.videoCodec + " " + video.soundCodec, video.width, video.height),
              std::tuple(c.codecs, 192, 128));
    EXPECT_EQ(video.title, "lesson");
    EXPECT_EQ(Chapters(video), "Введение 0.00-0.80, Segment 2 0.80-1.20, Итоги 1.20-2.40");
    // When each picture starts is the plan's (export_plan_posix_test); here their count and the end.
    ASSERT_EQ(video.pictures.size(), 8u * 3 + 4 + 6);
    EXPECT_NEAR(video.duration, 0.8 + 0.4 + 1.2, 1e-3);
    for (const auto& [index, picture] : shown) EXPECT_GE(Psnr(picture, video.pictures[index]), c.psnr) << index;

    // Segment 1's tone at 0; its sound after its end (the tone at 1.0 s) is cut and the
    // silent segment 2 stays silent; segment 3's tone at 1.2 s, its short sound followed
    // by silence to the end.
    EXPECT_GT(Loudness(video, 0.02, 0.18), 0.1);
    EXPECT_LT(Loudness(video, 0.3, 1.15), 0.01);
    const double onset = SoundOnset(video, 0.5, 0.1f);
    EXPECT_GE(onset, 1.2);
    EXPECT_LT(onset, 1.2 + 0.1) << "within one frame of the segment's start";
    EXPECT_LT(Loudness(video, 1.5, 2.35), 0.01);
    EXPECT_NEAR(double(video.sound.size()) / video.sampleRate, 2.4, 0.05);
    if (c.psnr != kExact) continue;
    // The lossless sound is the decoded MP3 in 16 bits: off by half a step at most.
    size_t off = 0;
    for (size_t i = 0; i < size_t(0.8 * video.sampleRate); ++i)
      off += std::fabs(video.sound[i] - firstSound[i]) > 0.5f / 32768 + 1e-7f ? 1 : 0;
    EXPECT_EQ(off, 0u) << "samples of segment 1 that differ from its MP3";
  }
}

TEST(KofExport, SegmentRangeAndWidthChooseThePicturesTheSizeAndWhereTheSoundStarts) {
  TempDir dir;
  const fs::path film = dir / "lesson.kof";
  WriteBytesToFile(film, LessonFilm());
  const std::vector<Picture> third = KofFrames(dir, film, 3, 6);
  const struct {
    const char* out;
    const char* options;
    int width, height;
    size_t pictures;
    double duration, tone;  // when the first tone starts; -1 for none
    const char* chapters;
  } cases[] = {
      // The odd size padded to even. H.264 and AAC as in MP4; Matroska does not record
      // AAC's delay of 1024 samples, so everything starts 23 ms later, the chapters too.
      {"part.mkv", "--segment 3", 152, 108, 6, 1.2 + 0.023, 0, "Итоги 0.02-1.22"},
      {"part.mkv", "--segment 3 --lossless", 151, 107, 6, 1.2, 0, "Итоги 0.00-1.20"},  // RGB: odd sizes stay
      // From segment 1's 16th picture, over the silent segment, into segment 3's first.
      {"part.mp4", "--from 0.5 --to 0:01.4", 192, 128, 9 + 4 + 1, 0.3 + 0.4 + 0.2, 0.7,
       "Введение 0.00-0.30, Segment 2 0.30-0.70, Итоги 0.70-0.90"},
      {"part.mp4", "--segment 1 --from 0:00.3 --width 121", 120, 80, 15, 0.5, -1,  // its late tone is cut
       "Введение 0.00-0.50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.out) + " " + c.options);
    const fs::path out = dir / c.out;
    const KofRun run = Export(Quoted(film) + " -o " + Quoted(out) + " " + c.options);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const DecodedVideo video = DecodeVideo(out);
    EXPECT_EQ(std::tuple(video.width, video.height, video.pictures.size()), std::tuple(c.width, c.height, c.pictures));
    EXPECT_NEAR(video.duration, c.duration, 1e-3);
    EXPECT_EQ(Chapters(video), c.chapters);
    const double onset = SoundOnset(video, 0, 0.1f);
    if (c.tone < 0) EXPECT_EQ(onset, -1);
    else EXPECT_NEAR(onset, c.tone + 0.05, 0.05);
    if (c.height != 107 && c.height != 108) continue;
    const double psnr = c.height == 107 ? kExact : 40;  // lossless, else the padding is black
    for (int k = 0; k < 6; ++k)
      EXPECT_GE(Psnr(Letterboxed(third[size_t(k)], c.width, c.height), video.pictures[size_t(k)]), psnr) << k;
  }
}

TEST(KofExport, GifOfAFewColoursDecodesToExactlyThePlayersPicturesAtEveryTick) {
  TempDir dir;
  // Segment 1 at three pointer samples per frame; the film "ticks" shows the same
  // pictures, each three times, with the same track at one sample per frame: its
  // frame i is what the player shows at tick i of segment 1.
  SegmentSpec first, second, ticks;
  first.data.pictures = Screens(24, 16, 5, 0xFFFFFF);
  first.data.samplesPerFrame = 3;
  first.data.cursorTrack = Wandering(15, 24, 16);
  for (const Picture& p : first.data.pictures) ticks.data.pictures.insert(ticks.data.pictures.end(), 3, p);
  ticks.data.cursorTrack = first.data.cursorTrack;
  second.data.pictures = Screens(15, 11, 3, 0xECE9D8);  // odd sizes stay in a GIF
  second.bitsPerPixel = 24;
  second.framesPerSecond = 5;
  WriteBytesToFile(dir / "film.kof", BuildFilm({first, second}));
  WriteBytesToFile(dir / "ticks.kof", BuildFilm({ticks, second}));

  const KofRun run = Export(Quoted(dir / "film.kof") + " -o " + Quoted(dir / "film.gif"));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const DecodedVideo gif = DecodeVideo(dir / "film.gif");
  EXPECT_EQ(gif.videoCodec, "gif");
  EXPECT_EQ(gif.soundCodec, "");
  ASSERT_EQ(gif.pictures.size(), 15u + 3);
  EXPECT_NEAR(gif.duration, 0.5 + 0.6, 0.011);
  const std::vector<Picture> ticked = KofFrames(dir, dir / "ticks.kof", 1, 14);
  for (int i = 0; i < 15; ++i) {
    // The engine ends the segment at tick 13; its last picture stays for tick 14.
    EXPECT_EQ(gif.pictures[size_t(i)].pixels, ticked[size_t(std::min(i, 13))].pixels) << "tick " << i;
    EXPECT_NEAR(gif.times[size_t(i)], std::round(i * 100.0 / 30) / 100, 1e-6) << "in hundredths";
  }
  const std::vector<Picture> odd = KofFrames(dir, dir / "film.kof", 2, 3);
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(gif.pictures[size_t(15 + k)].pixels, Letterboxed(odd[size_t(k)], 24, 16).pixels);
}

TEST(KofExport, GifOfManyColoursAndWebmComeClose) {
  TempDir dir;
  SegmentSpec spec;
  Picture gradient = Picture::Filled(40, 30, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) gradient.At(x, y) = uint32_t(x * 6) << 16 | uint32_t(y * 8) << 8 | uint32_t(x + y);
  spec.data.pictures = {gradient, Screen(40, 30, 1, 0xFFFFFF), gradient};
  spec.sound = ToneMp3(0.3, {{0, 0.1}});
  WriteBytesToFile(dir / "film.kof", BuildFilm({spec}));
  const std::vector<Picture> pictures = KofFrames(dir, dir / "film.kof", 1, 3);
  for (const char* name : {"film.gif", "film.webm"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Export(Quoted(dir / "film.kof") + " -o " + Quoted(dir / name)).exitCode, 0);
    const DecodedVideo video = DecodeVideo(dir / name);
    EXPECT_EQ(video.videoCodec, name[5] == 'g' ? "gif" : "vp9");
    EXPECT_EQ(video.soundCodec, name[5] == 'g' ? "" : "opus");
    EXPECT_EQ(Chapters(video), name[5] == 'g' ? "" : "Segment 0.01-0.31") << "a GIF has none; Opus delays WebM by 7 ms";
    ASSERT_EQ(video.pictures.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_GE(Psnr(pictures[size_t(k)], video.pictures[size_t(k)]), 30);
  }
}

TEST(KofExport, DamageIsSkippedAndFailuresLeaveNoFileBehind) {
  TempDir dir;
  SegmentSpec good, cut;
  good.data.pictures = Screens(8, 6, 3, 0xFFFFFF);
  cut.data.pictures = Screens(8, 6, 2, 0x808080);
  cut.data.frameRecords = {RawFrameRecord(0, 0, {})};  // the third record cannot be read
  WriteBytesToFile(dir / "film.kof", BuildFilm({good, cut, good}));
  const std::string film = Quoted(dir / "film.kof");

  const KofRun damaged = Export(film + " -o " + Quoted(dir / "out.mp4"));
  ASSERT_EQ(damaged.exitCode, 0) << damaged.out;
  EXPECT_NE(damaged.out.find("segment 2: LoadFrame: Size = 0"), std::string::npos) << damaged.out;
  EXPECT_EQ(DecodeVideo(dir / "out.mp4").pictures.size(), 3u + 2 + 3);

  // Written under a temporary name: a failure leaves OUT as it was and nothing else.
  WriteBytesToFile(dir / "old.mp4", Bytes(10, 'x'));
  const KofRun tooLarge = Export(film + " -o " + Quoted(dir / "old.mp4"), "ulimit -f 1;");
  EXPECT_EQ(tooLarge.exitCode, 1);
  EXPECT_NE(tooLarge.out.find("cannot write"), std::string::npos) << tooLarge.out;
  EXPECT_EQ(ReadBytesFromFile(dir / "old.mp4"), Bytes(10, 'x'));
  const KofRun noFolder = Export(film + " -o " + Quoted(dir / "missing" / "out.mp4"));
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_NE(noFolder.out.find("cannot write"), std::string::npos) << noFolder.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3) << "film.kof, out.mp4 and old.mp4";

  // Wrong command lines are export_options' test; here the exit codes: 2 for usage, 1
  // for what the film cannot give.
  const std::pair<std::string, int> refusals[] = {
      {film, 2},
      {film + " -o " + Quoted(dir / "o.mp4") + " --segment 4", 1},  // no such segment (the plan's refusals)
      {Quoted(dir / "out.mp4") + " -o " + Quoted(dir / "o.mp4"), 1},  // not a film
  };
  for (const auto& [arguments, exitCode] : refusals) EXPECT_EQ(Export(arguments).exitCode, exitCode) << arguments;
  EXPECT_FALSE(fs::exists(dir / "o.mp4"));
}

// FFmpeg takes "name:" at the start of a path for a protocol: a folder "lessons:2024"
// given as a relative path, the videos written there, the recorded film read back from
// them, and the sound unpacked into a temporary folder "tmp:1" are all files.
TEST(KofExport, FoldersWhoseFirstPartHoldsAColonAreFolders) {
  TempDir dir;
  SegmentSpec spec;
  spec.data.pictures = Screens(32, 24, 3, 0xFFFFFF);
  spec.sound = ToneMp3(0.3, {{0, 0.2}});
  WriteBytesToFile(dir / "film.kof", BuildFilm({spec}));
  fs::create_directories(dir / "tmp:1");
  const std::string there = "cd " + Quoted(dir.path()) + " && TMPDIR=tmp:1";
  for (const char* format : {"mp4", "gif"}) {
    SCOPED_TRACE(format);
    const std::string batch = std::string("film.kof --out-dir lessons:2024 --format ") + format;
    const KofRun run = Export(batch, there);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const DecodedVideo video = DecodeVideo(dir / "lessons:2024" / ("film." + std::string(format)));
    EXPECT_EQ(video.pictures.size(), 3u);
    if (format[0] == 'm') {
      EXPECT_GT(Loudness(video, 0.02, 0.18), 0.1) << run.out;
    }
    const KofRun again = Export(batch, there);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.out.find("1 skipped"), std::string::npos) << "its own video, read back: " << again.out;
  }
  const KofRun one = Export("film.kof -o lessons:2024/one.webm", there);
  ASSERT_EQ(one.exitCode, 0) << one.out;
  EXPECT_EQ(DecodeVideo(dir / "lessons:2024" / "one.webm").pictures.size(), 3u);
  EXPECT_TRUE(fs::is_empty(dir / "tmp:1"));
}

// kof export runs kof-export from kof's own folder, the only program that loads FFmpeg.
TEST(KofExport, OnlyTheExportProgramBesideKofLoadsFFmpeg) {
  TempDir dir;
  fs::copy_file(RZ_KOF_PATH, dir / "kof");
  WriteBytesToFile(dir / "film.kof", BuildFilm({SmallSegment("a")}));
  const KofRun alone = RunProgram((dir / "kof").string(),
                                  "export " + Quoted(dir / "film.kof") + " -o " + Quoted(dir / "o.mp4"), "", true);
  EXPECT_EQ(alone.exitCode, 1);
  EXPECT_NE(alone.out.find("cannot run " + (dir / "kof-export").string()), std::string::npos) << alone.out;

  // The dynamic loader's list of what each program loads, as ldd shows it.
  const auto loads = [](const fs::path& program) { return RunProgram(program, "", "LD_TRACE_LOADED_OBJECTS=1").out; };
  EXPECT_EQ(loads(RZ_KOF_PATH).find("libavcodec"), std::string::npos);
  EXPECT_NE(loads(fs::path(RZ_KOF_PATH).parent_path() / "kof-export").find("libavcodec"), std::string::npos);
}
