#pragma once

#include <string>

namespace kestrel::service {

// The body of the trainer's user manual page (HTML, UTF-8 here, CP950 on the wire).
std::string UserManualBody();

}  // namespace kestrel::service
