#include "platform/common_dialog.h"

namespace tovakin::platform {

std::vector<std::pair<std::string, std::string>> parseFilter(const std::string& filter) {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (filter.empty()) return pairs;
  std::vector<std::string> parts;
  std::size_t pos = 0;
  for (;;) {
    std::size_t bar = filter.find('|', pos);
    parts.push_back(filter.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos));
    if (bar == std::string::npos) break;
    pos = bar + 1;
  }
  for (std::size_t i = 0; i < parts.size(); i += 2)
    pairs.emplace_back(parts[i], i + 1 < parts.size() ? parts[i + 1] : std::string());
  return pairs;
}

namespace {

class CancellingDialog final : public CommonDialog {
 public:
  DialogOutcome ShowOpen() override { return DialogOutcome::Cancelled; }
  DialogOutcome ShowSave() override { return DialogOutcome::Cancelled; }
};

CancellingDialog g_defaultDialog;
CommonDialog* g_dialog = nullptr;

}  // namespace

CommonDialog& commonDialog() { return g_dialog ? *g_dialog : g_defaultDialog; }

Installed<CommonDialog> installCommonDialog(CommonDialog& dialog) { return {g_dialog, &dialog}; }

}  // namespace tovakin::platform
