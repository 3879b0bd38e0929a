#pragma once

#include <string>

#include "service/ServiceContext.h"

namespace kestrel::service {

// The pages the trainer opens in the browser: the home page, the user manual
// ("software-doc.php") and the version history ("software-history.php"), HTML
// in Traditional Chinese sent in CP950.
class HelpPages {
 public:
  void Register(PageTable& pages);

  static std::string HomePage();
  static std::string ManualPage();
  static std::string HistoryPage();
  // A complete page around the body.
  static std::string Frame(const std::string& title, const std::string& body);
};

}  // namespace kestrel::service
