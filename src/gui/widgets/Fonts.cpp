#include "widgets/Fonts.h"

#include <QFontMetrics>

#include "app/AppFonts.h"

namespace kestrel {

// The family byte is not applied on purpose: the system's default face is the
// one that carries the Chinese glyphs. The height of a font request is the
// whole cell (ascent plus descent), not the letter size, so the pixel size is
// lowered until the face's line fits in it.
QFont AppQFont(int number) {
  const FontSpec& spec = AppFont(number);
  QFont font;
  // Windows and Qt 6 share the 100..900 weight scale.
  font.setWeight(static_cast<QFont::Weight>(spec.weight));
  int pixels = spec.height;
  font.setPixelSize(pixels);
  while (pixels > 6) {
    const QFontMetrics metrics(font);
    if (metrics.ascent() + metrics.descent() <= spec.height) break;
    font.setPixelSize(--pixels);
  }
  return font;
}

}  // namespace kestrel
