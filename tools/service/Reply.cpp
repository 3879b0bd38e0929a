#include "service/Reply.h"

#include "common/FileUtil.h"
#include "common/TextCodec.h"

namespace kestrel::service {

namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string ToCp950(std::string_view utf8) {
  return IsAscii(utf8) ? std::string(utf8) : Utf8ToCp950(utf8);
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

Reply Reply::Text(std::string_view utf8) {
  Reply reply;
  reply.body = ToCp950(utf8);
  return reply;
}

Reply Reply::Utf8Text(std::string utf8) {
  Reply reply;
  reply.contentType = kUtf8Text;
  reply.body = std::move(utf8);
  return reply;
}

Reply Reply::Html(std::string_view utf8) {
  Reply reply;
  reply.contentType = kCp950Html;
  reply.body = ToCp950(utf8);
  return reply;
}

Reply Reply::File(std::filesystem::path path, std::string contentType) {
  Reply reply;
  reply.file = std::move(path);
  reply.contentType = std::move(contentType);
  return reply;
}

Reply Reply::NotFound() {
  Reply reply;
  reply.status = 404;
  reply.contentType = "text/html; charset=US-ASCII";
  reply.body =
      "<!DOCTYPE html>\n<html><head><title>404 Page Not Found</title></head>\n"
      "<body><h1>Page Not Found</h1><p>The requested page or file does not exist.</p>"
      "</body></html>\n";
  return reply;
}

Reply Reply::Status(int status, std::string_view reason) {
  Reply reply;
  reply.status = status;
  reply.contentType = "text/plain; charset=US-ASCII";
  reply.body = std::string(reason) + "\n";
  return reply;
}

std::string ContentTypeOf(std::string_view fileName) {
  if (EndsWithIgnoreCase(fileName, ".zip")) return "application/zip";
  if (EndsWithIgnoreCase(fileName, ".gif")) return "image/gif";
  if (EndsWithIgnoreCase(fileName, ".txt") || EndsWithIgnoreCase(fileName, ".dat"))
    return kUtf8Text;
  return "application/octet-stream";
}

}  // namespace kestrel::service
