#pragma once
// A picture's pixels (the rows' W x bytes-per-pixel bytes, without row padding) packed
// for keeping in memory: deflated with zlib's fastest level, each row that repeats the
// row above reduced to a mark, which shrinks screen pictures many times over; or as
// they are when deflating would not pay.
#include <cstdint>
#include <span>
#include <vector>

#include "playback/ko_picture.h"

struct TPackedPicture {
  bool Deflated = false;
  std::vector<uint8_t> Bytes;
};

// Packs picture into packed (exactly sized). A sample from the middle rows is deflated
// first; when it does not shrink to 4/5 of its size the picture is stored as it is,
// without spending the time to deflate all of it. scratch is working memory kept
// between calls (it grows to about one picture). Returns false for an empty picture;
// throws std::bad_alloc.
bool PackPicture(const TkoPictureView& picture, std::vector<uint8_t>& scratch, TPackedPicture& packed);

// Unpacks into picture, which must have the packed picture's size and depth. Returns
// false, leaving picture partly written, when the bytes do not give exactly its rows.
bool UnpackPicture(std::span<const uint8_t> bytes, bool deflated, const TkoPictureView& picture);
