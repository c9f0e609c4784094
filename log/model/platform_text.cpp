#include "model/platform_text.h"

namespace quarent::brnlog {

std::string_view LimitAnsiText(std::string_view text, size_t maxBytes, const PlatformText& platform) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < maxBytes) {
    const size_t width = platform.IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace quarent::brnlog
