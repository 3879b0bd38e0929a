#include "widgets/Fonts.h"

#include "app/AppFonts.h"

namespace kestrel {

QFont AppQFont(int number) {
  const FontSpec& spec = AppFont(number);
  QFont font;
  font.setPixelSize(spec.height);
  // Windows and Qt 6 share the 100..900 weight scale.
  font.setWeight(static_cast<QFont::Weight>(spec.weight));
  if (spec.pitchAndFamily & 0x10) font.setStyleHint(QFont::Serif);
  return font;
}

}  // namespace kestrel
