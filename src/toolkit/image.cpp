#include "toolkit/image.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// No single allocation of the decoder may exceed what the largest accepted
// image needs (16-bit RGBA plus a filter byte per row), so neither a chunk
// nor a compressed stream that claims more can take the memory.
constexpr size_t kMaxDecoderAllocation =
    static_cast<size_t>(DuiLib::kMaxImagePixels) * 8 + (1u << 20);

void* DecoderMalloc(size_t size) {
  return size > kMaxDecoderAllocation ? nullptr : std::malloc(size);
}
void* DecoderRealloc(void* p, size_t size) {
  return size > kMaxDecoderAllocation ? nullptr : std::realloc(p, size);
}

}  // namespace

#define STBI_MALLOC(size) DecoderMalloc(size)
#define STBI_REALLOC(p, size) DecoderRealloc(p, size)
#define STBI_FREE(p) std::free(p)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace DuiLib {

namespace {

uint32_t ReadBig32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Walks the PNG's chunks before the decoder sees them: a chunk that claims
// more bytes than the file holds is refused, and empty data chunks, which
// carry nothing, are left out of the copy handed on (the decoder mishandles a
// leading empty one). Returns false for a damaged chunk list.
bool CheckChunks(const uint8_t*& data, size_t& size, std::vector<uint8_t>& copy) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
  bool emptyData = false;
  size_t pos = 8;
  while (pos < size) {
    if (size - pos < 12) return false;
    const uint32_t length = ReadBig32(data + pos);
    if (length > size - pos - 12) return false;
    if (length == 0 && std::memcmp(data + pos + 4, "IDAT", 4) == 0) emptyData = true;
    const bool end = std::memcmp(data + pos + 4, "IEND", 4) == 0;
    pos += 12 + length;
    if (end) break;
  }
  if (!emptyData) return true;
  copy.assign(data, data + 8);
  for (size_t at = 8; at < pos;) {
    const uint32_t length = ReadBig32(data + at);
    if (length != 0 || std::memcmp(data + at + 4, "IDAT", 4) != 0) {
      copy.insert(copy.end(), data + at, data + at + 12 + length);
    }
    at += 12 + length;
  }
  data = copy.data();
  size = copy.size();
  return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, uint32_t mask, Image& out) {
  out = Image();
  if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  std::vector<uint8_t> copy;
  if (!CheckChunks(data, size, copy)) return false;
  const int length = static_cast<int>(size);

  // Ask for the size first so a header that claims a huge image costs nothing.
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxImagePixels) {
    return false;
  }
  unsigned char* rgba = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (rgba == nullptr) return false;
  if (width <= 0 || height <= 0 ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxImagePixels) {
    stbi_image_free(rgba);
    return false;
  }

  out.bitmap.Reset(width, height);
  uint32_t* pixels = out.bitmap.Data();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  bool hasAlpha = false;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t r = rgba[4 * i], g = rgba[4 * i + 1], b = rgba[4 * i + 2], a = rgba[4 * i + 3];
    uint32_t pixel;
    if (a == 255) {
      pixel = MakeArgb(255, r, g, b);
    } else {
      pixel = MakeArgb(a, r * a / 255, g * a / 255, b * a / 255);
      hasAlpha = true;
    }
    if (mask != 0 && pixel == mask) {
      pixel = 0;
      hasAlpha = true;
    }
    pixels[i] = pixel;
  }
  stbi_image_free(rgba);
  out.hasAlpha = hasAlpha;
  return true;
}

ImageCache::ImageCache(SkinFileReader reader) : reader_(std::move(reader)) {}

std::shared_ptr<const Image> ImageCache::Get(const std::wstring& name, uint32_t mask) {
  if (name.empty()) return nullptr;
  auto key = std::make_pair(name, mask);
  auto found = images_.find(key);
  if (found != images_.end()) return found->second;
  if (!reader_) return nullptr;
  std::vector<uint8_t> bytes;
  if (!reader_(name, bytes)) return nullptr;
  auto image = std::make_shared<Image>();
  if (!DecodePng(bytes.data(), bytes.size(), mask, *image)) return nullptr;
  images_.emplace(std::move(key), image);
  return image;
}

void ImageCache::Add(const std::wstring& name, std::shared_ptr<const Image> image) {
  images_[std::make_pair(name, 0u)] = std::move(image);
}

void ImageCache::Remove(const std::wstring& name) {
  for (auto it = images_.begin(); it != images_.end();) {
    it = it->first.first == name ? images_.erase(it) : std::next(it);
  }
}

void ImageCache::Clear() { images_.clear(); }

}  // namespace DuiLib
