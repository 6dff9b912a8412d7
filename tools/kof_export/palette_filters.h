#pragma once
// GIF's palette for films of more than 256 colours, with libavfilter: palettegen
// makes one palette from every picture of the film, paletteuse maps each picture onto
// it (dithered, and only the rectangle that changed).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kof_export/ff_holders.h"
#include "playback/ko_picture.h"

// A buffer source of the chain: its label in the description and what it takes.
struct FilterSource {
  std::string label;
  int32_t width = 0, height = 0;
  AVPixelFormat format = AV_PIX_FMT_BGR0;  // 32-bit pictures: blue, green, red, unused
};

// Buffer sources feeding a filter description whose output, labelled "out", goes to a
// buffer sink. Times are in hundredths of a second.
class FilterChain {
public:
  // Throws EkoError when the graph cannot be made.
  FilterChain(const std::vector<FilterSource>& sources, const std::string& description);
  // Feeds the picture to source number input. Throws EkoError.
  void Add(size_t input, const TkoPictureView& picture, int64_t pts);
  // Feeds a frame as it is. Throws EkoError.
  void AddFrame(size_t input, AVFrame* frame);
  // Ends the source's input.
  void End(size_t input);
  // Hands every frame ready at the sink to onFrame. Throws EkoError.
  void Drain(const std::function<void(AVFrame*)>& onFrame);

private:
  ff::FilterGraph FGraph;
  std::vector<AVFilterContext*> FSources;
  AVFilterContext* FSink = nullptr;
  ff::Frame FOut;
};

// palettegen over every picture: Add them all, then Finish gives the palette frame.
class PaletteGenerator {
public:
  PaletteGenerator(int32_t width, int32_t height);
  void Add(const TkoPictureView& picture, int64_t pts) { FChain.Add(0, picture, pts); }
  // The 16 x 16 palette picture. Throws EkoError when none came out.
  ff::Frame Finish();

private:
  FilterChain FChain;
};

// paletteuse with one palette: each picture added comes out as a palette frame.
class PaletteMapper {
public:
  // palette: what PaletteGenerator::Finish gave.
  PaletteMapper(int32_t width, int32_t height, AVFrame* palette);
  // Maps the picture; onFrame gets the frames that are ready (the pts carried over).
  void Map(const TkoPictureView& picture, int64_t pts, const std::function<void(AVFrame*)>& onFrame);
  void Finish(const std::function<void(AVFrame*)>& onFrame);

private:
  FilterChain FChain;
};
