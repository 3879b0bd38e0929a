#pragma once

#include <QFont>

namespace kestrel {

// Shared font number 1..13 as a QFont (system face, pixel height, weight).
QFont AppQFont(int number);

}  // namespace kestrel
