#include "service/ServiceRouter.h"

#include <exception>

namespace kestrel::service {

ServiceRouter::ServiceRouter(ServiceContext& context, WarningSink log, TargetLimits limits)
    : context_(context),
      log_(std::move(log)),
      limits_(limits),
      accountPages_(context),
      dayPages_(context),
      historyPages_(context),
      classroomPages_(context) {
  accountPages_.Register(pages_);
  dayPages_.Register(pages_);
  historyPages_.Register(pages_);
  classroomPages_.Register(pages_);
  helpPages_.Register(pages_);
}

Reply ServiceRouter::Route(std::string_view rawTarget) {
  RequestTarget target;
  switch (ParseRequestTarget(rawTarget, target, limits_)) {
    case 0: break;
    case 414: return Reply::Status(414, "URI Too Long");
    default: return Reply::Status(400, "Bad Request");
  }
  try {
    return Dispatch(target);
  } catch (const std::exception& e) {
    // The path only: queries carry passwords.
    if (log_) log_("error in " + target.path + ": " + e.what());
    Reply reply = Reply::Text("ERROR");
    reply.status = 500;
    return reply;
  }
}

Reply ServiceRouter::Dispatch(const RequestTarget& target) {
  if (auto page = pages_.find(target.path); page != pages_.end()) return page->second(target);

  struct Folder {
    std::string_view prefix;
    ServedFolder folder;
  };
  static constexpr Folder kFolders[] = {
      {"/DATA/", ServedFolder::kDayData},
      {"/TICKDATA/", ServedFolder::kBookData},
      {"/DB/", ServedFolder::kTrainingAndUpdates},
  };
  const std::string_view path = target.path;
  for (const Folder& folder : kFolders) {
    if (path.substr(0, folder.prefix.size()) != folder.prefix) continue;
    const std::string_view name = path.substr(folder.prefix.size());
    if (auto file = context_.data.ServedFile(folder.folder, name))
      return Reply::File(*file, ContentTypeOf(name));
    return Reply::NotFound();
  }
  constexpr std::string_view kPictures = "/HISDATA_6631/";
  if (path.substr(0, kPictures.size()) == kPictures)
    return historyPages_.Picture(path.substr(kPictures.size()));
  return Reply::NotFound();
}

}  // namespace kestrel::service
