#pragma once
// The video file being written: FFmpeg's muxer over a temporary file beside OUT, named
// after this process (platform/export_leftovers.h), which becomes OUT only when it is
// complete. Until then OUT is left as it was. The video records the film it was made
// from (video_source.h).
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kof_export/export_options.h"
#include "kof_export/ff_holders.h"

class MediaOutput {
public:
  // Creates the muxer for options.out in options.format. Throws EkoError when the
  // library lacks it.
  explicit MediaOutput(const ExportOptions& options);
  // Removes the temporary file unless Finish succeeded.
  ~MediaOutput();
  MediaOutput(const MediaOutput&) = delete;
  MediaOutput& operator=(const MediaOutput&) = delete;

  // Whether encoders must put their headers in the stream's extra data.
  bool WantsGlobalHeaders() const;
  // A stream for the encoder's packets (its parameters copied from the opened encoder).
  // Throws EkoError.
  AVStream* AddStream(const AVCodecContext* encoder);
  // The file's title, before Start.
  void SetTitle(const std::string& utf8);
  // A chapter from start to end (in ticks of timeBase), before Finish. Chapters are
  // written with the trailer, when the times of what was written are known: a format
  // that takes no times below 0 (Matroska) moves every stream later by the earliest
  // (the sound encoder's delay), and the chapters move with them.
  void AddChapter(int64_t start, int64_t end, AVRational timeBase, const std::string& utf8Title);
  // Creates the temporary file and writes the header. Throws EkoError("cannot write
  // OUT: reason").
  void Start();
  // Writes a packet of the stream, its times in the encoder's time base. Throws EkoError.
  void Write(AVPacket* packet, AVStream* stream, AVRational encoderTimeBase);
  // Writes the trailer, closes the file and renames it to OUT; in a batch without
  // --force, not over another film's video (output_claim.h). Throws EkoError.
  void Finish();

private:
  struct Chapter {
    int64_t startUs, endUs;
    std::string title;
  };

  void CloseFile();
  void WriteChapters();
  void Publish();

  std::filesystem::path FOut;
  std::filesystem::path FTemporary;
  ExportFormat FFormat;
  std::string FSource;  // the film's fingerprint
  bool FKeepOthers;
  AVFormatContext* FContext = nullptr;
  std::vector<Chapter> FChapters;
  int64_t FEarliestUs = 0;  // the earliest time written, if below 0
  bool FFileOpen = false;
  bool FFinished = false;
};

// Encodes frames of one stream and hands its packets to the output.
class StreamEncoder {
public:
  // Takes the opened encoder and adds its stream to output (which must outlive this).
  StreamEncoder(ff::CodecContext codec, MediaOutput& output);
  AVCodecContext* Codec() const { return FCodec.get(); }
  // Encodes the frame (pts in the encoder's time base; ticks is how long it lasts, or
  // 0 when the encoder knows) and writes every packet that is ready. Throws EkoError.
  void Encode(AVFrame* frame, int64_t ticks);
  // Drains the encoder at the end of the stream. Throws EkoError.
  void Flush();

private:
  void WriteReadyPackets();
  void WriteHeld();

  ff::CodecContext FCodec;
  MediaOutput& FOutput;
  AVStream* FStream;
  ff::Packet FPacket;
  // The latest packet, written when the next one comes. The last in decoding order
  // gets the duration that makes the stream, counted in decoding times from the
  // first packet's, end where the last picture ends; otherwise MP4 gets the length
  // wrong whenever pictures of different durations are reordered.
  ff::Packet FHeld;
  int64_t FEnd = 0;  // the end of the last frame whose duration is known
  int64_t FFirstPts = AV_NOPTS_VALUE, FFirstDts = AV_NOPTS_VALUE;
  // How long each picture sent and not yet written lasts, by its pts: encoders do not
  // carry a frame's duration over to its packet (libx264 gives every packet one tick).
  std::map<int64_t, int64_t> FDurations;
};
