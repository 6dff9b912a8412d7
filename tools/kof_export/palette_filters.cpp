#include "kof_export/palette_filters.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include "film/ko_error.h"

namespace {
struct InOutFree {
  void operator()(AVFilterInOut* list) const { avfilter_inout_free(&list); }
};
using InOut = std::unique_ptr<AVFilterInOut, InOutFree>;

InOut Link(const char* label, AVFilterContext* filter, InOut next) {
  InOut link(avfilter_inout_alloc());
  if (link == nullptr) throw std::bad_alloc();
  link->name = av_strdup(label);
  link->filter_ctx = filter;
  link->pad_idx = 0;
  link->next = next.release();
  return link;
}
}  // namespace

FilterChain::FilterChain(const std::vector<FilterSource>& sources, const std::string& description)
    : FGraph(avfilter_graph_alloc()), FOut(ff::NewFrame()) {
  if (FGraph == nullptr) throw std::bad_alloc();
  InOut outputs;
  for (size_t i = sources.size(); i-- > 0;) {
    const FilterSource& source = sources[i];
    const std::string arguments = "video_size=" + std::to_string(source.width) + "x" + std::to_string(source.height) +
                                  ":pix_fmt=" + std::to_string(source.format) + ":time_base=1/100:pixel_aspect=1/1";
    AVFilterContext* filter = nullptr;
    ff::Check(avfilter_graph_create_filter(&filter, avfilter_get_by_name("buffer"), source.label.c_str(),
                                           arguments.c_str(), nullptr, FGraph.get()),
              "cannot make the palette filters");
    FSources.insert(FSources.begin(), filter);
    outputs = Link(source.label.c_str(), filter, std::move(outputs));
  }
  ff::Check(avfilter_graph_create_filter(&FSink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                         FGraph.get()),
            "cannot make the palette filters");
  InOut inputs = Link("out", FSink, nullptr);
  AVFilterInOut* in = inputs.release();
  AVFilterInOut* out = outputs.release();
  const int parsed = avfilter_graph_parse_ptr(FGraph.get(), description.c_str(), &in, &out, nullptr);
  avfilter_inout_free(&in);
  avfilter_inout_free(&out);
  ff::Check(parsed, "cannot make the palette filters");
  ff::Check(avfilter_graph_config(FGraph.get(), nullptr), "cannot make the palette filters");
}

void FilterChain::Add(size_t input, const TkoPictureView& picture, int64_t pts) {
  ff::Frame frame = ff::NewFrame();
  frame->format = AV_PIX_FMT_BGR0;
  frame->width = picture.Width;
  frame->height = picture.Height;
  frame->data[0] = picture.Pixels;
  frame->linesize[0] = picture.Stride;
  frame->pts = pts;
  // A frame without a buffer of its own is copied by the source.
  ff::Check(av_buffersrc_add_frame_flags(FSources[input], frame.get(), AV_BUFFERSRC_FLAG_KEEP_REF),
            "cannot filter the pictures");
}

void FilterChain::AddFrame(size_t input, AVFrame* frame) {
  ff::Check(av_buffersrc_add_frame_flags(FSources[input], frame, AV_BUFFERSRC_FLAG_KEEP_REF),
            "cannot filter the pictures");
}

void FilterChain::End(size_t input) {
  ff::Check(av_buffersrc_add_frame(FSources[input], nullptr), "cannot filter the pictures");
}

void FilterChain::Drain(const std::function<void(AVFrame*)>& onFrame) {
  for (;;) {
    const int got = av_buffersink_get_frame(FSink, FOut.get());
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
    ff::Check(got, "cannot filter the pictures");
    onFrame(FOut.get());
    av_frame_unref(FOut.get());
  }
}

PaletteGenerator::PaletteGenerator(int32_t width, int32_t height)
    : FChain({{"in", width, height}}, "[in] palettegen=max_colors=256:reserve_transparent=0:stats_mode=full [out]") {}

ff::Frame PaletteGenerator::Finish() {
  FChain.End(0);
  ff::Frame palette;
  FChain.Drain([&palette](AVFrame* frame) {
    palette = ff::NewFrame();
    ff::Check(av_frame_ref(palette.get(), frame), "out of memory");
  });
  if (palette == nullptr) throw EkoError("no palette came out of palettegen");
  return palette;
}

PaletteMapper::PaletteMapper(int32_t width, int32_t height, AVFrame* palette)
    : FChain({{"in", width, height},
              {"palette", palette->width, palette->height, static_cast<AVPixelFormat>(palette->format)}},
             "[in][palette] paletteuse=diff_mode=rectangle [out]") {
  FChain.AddFrame(1, palette);
  FChain.End(1);
}

void PaletteMapper::Map(const TkoPictureView& picture, int64_t pts, const std::function<void(AVFrame*)>& onFrame) {
  FChain.Add(0, picture, pts);
  FChain.Drain(onFrame);
}

void PaletteMapper::Finish(const std::function<void(AVFrame*)>& onFrame) {
  FChain.End(0);
  FChain.Drain(onFrame);
}
