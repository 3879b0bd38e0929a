#include "widgets/Fonts.h"

#include "app/AppFonts.h"

namespace kestrel {

// The family byte is not applied on purpose: the system's
// default face is the one that carries the Chinese glyphs.
QFont AppQFont(int number) {
  const FontSpec& spec = AppFont(number);
  QFont font;
  font.setPixelSize(spec.height);
  // Windows and Qt 6 share the 100..900 weight scale.
  font.setWeight(static_cast<QFont::Weight>(spec.weight));
  return font;
}

}  // namespace kestrel
