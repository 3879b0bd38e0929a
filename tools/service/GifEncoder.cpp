#include "service/GifEncoder.h"

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace kestrel::service {

namespace {

int Append(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  return length;
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

struct MapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

std::string EncodeGif(const PixelCanvas& canvas, const Palette16& palette, std::string_view comment,
                      size_t minimumSize) {
  std::string out;
  GifColorType colours[16];
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = GifColorType{palette[i].r, palette[i].g, palette[i].b};
  std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(16, colours));
  if (!map) return {};

  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, Append, &error));
  if (!gif) return {};
  EGifSetGifVersion(gif.get(), true);
  if (EGifPutScreenDesc(gif.get(), canvas.width(), canvas.height(), 8, 0, map.get()) == GIF_ERROR)
    return {};
  if (EGifPutImageDesc(gif.get(), 0, 0, canvas.width(), canvas.height(), false, nullptr) ==
      GIF_ERROR)
    return {};
  std::vector<GifPixelType> line(static_cast<size_t>(canvas.width()));
  for (int y = 0; y < canvas.height(); ++y) {
    const uint8_t* row = canvas.Row(y);
    line.assign(row, row + canvas.width());
    if (EGifPutLine(gif.get(), line.data(), canvas.width()) == GIF_ERROR) return {};
  }
  // The image is complete: what is still missing of the minimum goes into the
  // comment (its block headers only add to the size).
  std::string text(comment);
  if (out.size() + 1 + text.size() < minimumSize) text.resize(minimumSize - out.size() - 1, ' ');
  if (!text.empty() && EGifPutComment(gif.get(), text.c_str()) == GIF_ERROR) return {};
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) == GIF_ERROR) return {};
  return out;
}

}  // namespace kestrel::service
