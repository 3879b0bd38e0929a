// The day pictures: a real GIF of the trainer's picture size, large enough for
// the trainer to accept, drawn from the trend, cached and refreshed.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstring>

#include "ServiceFixture.h"
#include "service/TrendPicture.h"

namespace kestrel::service::test {
namespace {

struct Decoded {
  int width = 0, height = 0, images = 0;
  std::vector<GifByteType> pixels;
  std::vector<GifColorType> colours;
  std::string comment;
};

struct Source {
  const std::string* bytes;
  size_t offset;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<Source*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(length), source->bytes->size() - source->offset);
  std::memcpy(out, source->bytes->data() + source->offset, n);
  source->offset += n;
  return static_cast<int>(n);
}

Decoded Decode(const std::string& bytes) {
  Decoded decoded;
  Source source{&bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadBytes, &error);
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
    if (gif) DGifCloseFile(gif, &error);
    return decoded;
  }
  decoded.width = gif->SWidth;
  decoded.height = gif->SHeight;
  decoded.images = gif->ImageCount;
  const SavedImage& image = gif->SavedImages[0];
  decoded.pixels.assign(image.RasterBits, image.RasterBits + gif->SWidth * gif->SHeight);
  decoded.colours.assign(gif->SColorMap->Colors,
                         gif->SColorMap->Colors + gif->SColorMap->ColorCount);
  for (int i = 0; i < image.ExtensionBlockCount; ++i)
    if (image.ExtensionBlocks[i].Function == COMMENT_EXT_FUNC_CODE)
      decoded.comment.append(reinterpret_cast<char*>(image.ExtensionBlocks[i].Bytes),
                             static_cast<size_t>(image.ExtensionBlocks[i].ByteCount));
  for (int i = 0; i < gif->ExtensionBlockCount; ++i)
    if (gif->ExtensionBlocks[i].Function == COMMENT_EXT_FUNC_CODE)
      decoded.comment.append(reinterpret_cast<char*>(gif->ExtensionBlocks[i].Bytes),
                             static_cast<size_t>(gif->ExtensionBlocks[i].ByteCount));
  DGifCloseFile(gif, &error);
  return decoded;
}

bool HasColour(const Decoded& d, int x0, int x1, int y0, int y1, GifColorType colour) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const GifColorType c = d.colours[d.pixels[static_cast<size_t>(y) * d.width + x]];
      if (c.Red == colour.Red && c.Green == colour.Green && c.Blue == colour.Blue) return true;
    }
  return false;
}

TEST(TrendPictureTest, FlatDayStillMakesAnAcceptablePicture) {
  // Two points and no figures: the smallest picture there is.
  const std::string gif =
      RenderTrendPicture(Date{2013, 5, 6}, {{1, 8000, 10}, {2, 8000, 10}}, nullptr);
  EXPECT_GE(gif.size(), 10240u);
  const Decoded d = Decode(gif);
  EXPECT_EQ(d.width, kPictureWidth);
  EXPECT_EQ(d.height, kPictureHeight);
  EXPECT_EQ(d.images, 1);
  EXPECT_NE(d.comment.find("2013/05/06"), std::string::npos);
  EXPECT_TRUE(RenderTrendPicture(Date{2013, 5, 6}, {{1, 8000, 10}}, nullptr).empty());
}

TEST(TrendPictureTest, RisingDayIsDrawnAboveThePreviousClose) {
  std::vector<TrendPoint> points;
  for (int minute = 1; minute <= 300; ++minute) points.push_back({minute, 8000 + minute / 3, 50});
  CatalogueDay figures;
  figures.close = 8100;
  figures.change = 100;  // previous close 8000: the whole day is above it
  const Decoded d = Decode(RenderTrendPicture(Date{2013, 5, 6}, points, &figures));
  ASSERT_EQ(d.width, kPictureWidth);
  const GifColorType upFill{90, 20, 20}, downFill{20, 70, 20}, line{255, 230, 0};
  // The upper half of the chart has the rising fill and the line; the lower none.
  EXPECT_TRUE(HasColour(d, 400, 800, 60, 240, upFill));
  EXPECT_TRUE(HasColour(d, 400, 800, 60, 240, line));
  EXPECT_FALSE(HasColour(d, 20, 850, 250, 440, downFill));
}

class PictureServiceTest : public ServiceFixture {};

TEST_F(PictureServiceTest, ServedOnceAndRenderedAgainWhenTheTrendChanges) {
  const Answer first = Get("/HISDATA_6631/2013-05-06.gif");
  ASSERT_EQ(first.status, 200);
  EXPECT_EQ(first.contentType, "image/gif");
  EXPECT_GE(first.body.size(), 10240u);
  EXPECT_EQ(Decode(first.body).width, kPictureWidth);
  EXPECT_EQ(Get("/HISDATA_6631/2013-05-06.gif").body, first.body);

  WriteFile(folder_ / "TREND" / "2013_05_06.txt", "0846,8000,1\n0847,8100,2\n0848,7900,3\n");
  const Answer second = Get("/HISDATA_6631/2013-05-06.gif");
  EXPECT_EQ(second.status, 200);
  EXPECT_NE(second.body, first.body);

  WriteFile(folder_ / "TREND" / "2013_05_06.txt", "nothing usable\n");
  EXPECT_EQ(Get("/HISDATA_6631/2013-05-06.gif").status, 404);
  EXPECT_LT(Get("/HISDATA_6631/2013-05-06.gif").body.size(), 10240u);
}

}  // namespace
}  // namespace kestrel::service::test
