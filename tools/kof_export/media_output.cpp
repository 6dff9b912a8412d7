#include "kof_export/media_output.h"

#include <algorithm>
#include <cstdio>

#include "film/ko_error.h"
#include "kof_export/gif_comment.h"
#include "kof_export/output_claim.h"
#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"
#include "kof_export/video_source.h"
#include "kof_common/utf8_path.h"

namespace {
const char* MuxerName(ExportFormat format) {
  switch (format) {
    case ExportFormat::Mp4: return "mp4";
    case ExportFormat::WebM: return "webm";
    case ExportFormat::Gif: return "gif";
    case ExportFormat::Mkv: return "matroska";
  }
  return "";
}
}  // namespace

MediaOutput::MediaOutput(const ExportOptions& options)
    : FOut(options.out), FTemporary(TemporaryOutput(options.out, ThisProcessId())), FFormat(options.format),
      FSource(options.source), FKeepOthers(options.keepOthers) {
  ff::Check(avformat_alloc_output_context2(&FContext, nullptr, MuxerName(FFormat), ff::FileUrl(FTemporary).c_str()),
            std::string("no ") + MuxerName(FFormat) + " muxer");
  // GIF keeps it in a comment block, added when the file is complete.
  if (FFormat != ExportFormat::Gif && !FSource.empty())
    av_dict_set(&FContext->metadata, "comment", SourceRecord(FSource).c_str(), 0);
}

MediaOutput::~MediaOutput() {
  CloseFile();
  if (!FFinished) {
    std::error_code ignored;
    std::filesystem::remove(FTemporary, ignored);
  }
  avformat_free_context(FContext);
}

bool MediaOutput::WantsGlobalHeaders() const { return (FContext->oformat->flags & AVFMT_GLOBALHEADER) != 0; }

AVStream* MediaOutput::AddStream(const AVCodecContext* encoder) {
  AVStream* stream = avformat_new_stream(FContext, nullptr);
  if (stream == nullptr) throw EkoError("cannot add a stream");
  ff::Check(avcodec_parameters_from_context(stream->codecpar, encoder), "cannot describe a stream");
  stream->time_base = encoder->time_base;
  return stream;
}

void MediaOutput::SetTitle(const std::string& utf8) { av_dict_set(&FContext->metadata, "title", utf8.c_str(), 0); }

void MediaOutput::AddChapter(int64_t start, int64_t end, AVRational timeBase, const std::string& utf8Title) {
  FChapters.push_back({av_rescale_q(start, timeBase, AV_TIME_BASE_Q), av_rescale_q(end, timeBase, AV_TIME_BASE_Q),
                       utf8Title});
}

void MediaOutput::WriteChapters() {
  const bool shifted = (FContext->oformat->flags & AVFMT_TS_NEGATIVE) == 0;
  const int64_t shiftUs = shifted ? -FEarliestUs : 0;
  for (const Chapter& c : FChapters) {
    AVChapter* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
    if (chapter == nullptr ||
        av_dynarray_add_nofree(&FContext->chapters, reinterpret_cast<int*>(&FContext->nb_chapters), chapter) < 0) {
      av_free(chapter);
      throw std::bad_alloc();
    }
    chapter->id = FContext->nb_chapters;
    chapter->time_base = AV_TIME_BASE_Q;
    chapter->start = c.startUs + shiftUs;
    chapter->end = c.endUs + shiftUs;
    av_dict_set(&chapter->metadata, "title", c.title.c_str(), 0);
  }
}

void MediaOutput::Start() {
  const int opened = avio_open(&FContext->pb, ff::FileUrl(FTemporary).c_str(), AVIO_FLAG_WRITE);
  if (opened < 0) throw EkoError("cannot write " + Utf8Of(FOut) + ": " + ff::ErrorText(opened));
  FFileOpen = true;
  AVDictionary* options = nullptr;
  // The index first, so players can start before the whole file has arrived.
  if (FFormat == ExportFormat::Mp4) av_dict_set(&options, "movflags", "+faststart", 0);
  const int written = avformat_write_header(FContext, &options);
  av_dict_free(&options);
  if (written < 0) throw EkoError("cannot write " + Utf8Of(FOut) + ": " + ff::ErrorText(written));
}

void MediaOutput::Write(AVPacket* packet, AVStream* stream, AVRational encoderTimeBase) {
  av_packet_rescale_ts(packet, encoderTimeBase, stream->time_base);
  if (packet->pts != AV_NOPTS_VALUE)
    FEarliestUs = std::min(FEarliestUs, av_rescale_q(packet->pts, stream->time_base, AV_TIME_BASE_Q));
  packet->stream_index = stream->index;
  const int written = av_interleaved_write_frame(FContext, packet);
  if (written < 0) throw EkoError("cannot write " + Utf8Of(FOut) + ": " + ff::ErrorText(written));
}

void MediaOutput::Finish() {
  WriteChapters();
  const int written = av_write_trailer(FContext);
  if (written < 0) throw EkoError("cannot write " + Utf8Of(FOut) + ": " + ff::ErrorText(written));
  const int flushError = FContext->pb->error;
  CloseFile();
  if (flushError < 0) throw EkoError("cannot write " + Utf8Of(FOut) + ": " + ff::ErrorText(flushError));
  if (FFormat == ExportFormat::Gif && !FSource.empty()) AppendGifComment(FTemporary, SourceRecord(FSource));
  Publish();
  FFinished = true;
}

void MediaOutput::Publish() {
  if (PublishVideo(FTemporary, FOut, FSource, FKeepOthers ? Publishing::KeepOthers : Publishing::Replace) ==
      Published::AlreadyThere)
    std::fprintf(stderr, "kof: %s was made from this film meanwhile; kept as it is\n", Utf8Of(FOut).c_str());
}

void MediaOutput::CloseFile() {
  if (!FFileOpen) return;
  avio_closep(&FContext->pb);
  FFileOpen = false;
}

StreamEncoder::StreamEncoder(ff::CodecContext codec, MediaOutput& output)
    : FCodec(std::move(codec)), FOutput(output), FStream(output.AddStream(FCodec.get())), FPacket(ff::NewPacket()),
      FHeld(ff::NewPacket()) {}

void StreamEncoder::Encode(AVFrame* frame, int64_t ticks) {
  if (ticks > 0) {
    FDurations[frame->pts] = ticks;
    FEnd = std::max(FEnd, frame->pts + ticks);
  }
  ff::Check(avcodec_send_frame(FCodec.get(), frame), "cannot encode");
  WriteReadyPackets();
}

void StreamEncoder::Flush() {
  ff::Check(avcodec_send_frame(FCodec.get(), nullptr), "cannot encode");
  WriteReadyPackets();
  if (FHeld->data == nullptr) return;
  if (FEnd > 0 && FHeld->dts != AV_NOPTS_VALUE && FFirstDts != AV_NOPTS_VALUE)
    FHeld->duration = std::max<int64_t>(1, FEnd - FFirstPts - (FHeld->dts - FFirstDts));
  WriteHeld();
}

void StreamEncoder::WriteHeld() {
  FOutput.Write(FHeld.get(), FStream, FCodec->time_base);
  av_packet_unref(FHeld.get());
}

void StreamEncoder::WriteReadyPackets() {
  for (;;) {
    const int received = avcodec_receive_packet(FCodec.get(), FPacket.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    ff::Check(received, "cannot encode");
    if (const auto known = FDurations.find(FPacket->pts); known != FDurations.end()) {
      FPacket->duration = known->second;
      FDurations.erase(known);
    }
    if (FFirstDts == AV_NOPTS_VALUE) {
      FFirstPts = FPacket->pts;
      FFirstDts = FPacket->dts;
    }
    if (FHeld->data != nullptr) WriteHeld();
    av_packet_move_ref(FHeld.get(), FPacket.get());
  }
}
