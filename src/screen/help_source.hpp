// HelpSource: where help texts come from (by name: upper case, padded to
// 10). available() is false when the help table or its memo is missing, in
// which case no help window opens at all.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tx::screen {

class HelpSource {
 public:
  virtual ~HelpSource() = default;
  virtual bool available() const = 0;
  virtual std::optional<std::string> find(std::string_view name) const = 0;
};

// Texts held in memory (start-up before the tables exist, and tests).
class MemoryHelpSource : public HelpSource {
 public:
  std::map<std::string, std::string> texts;  // key: name as looked up
  bool available() const override { return true; }
  std::optional<std::string> find(std::string_view name) const override {
    auto it = texts.find(std::string(name));
    if (it == texts.end()) return std::nullopt;
    return it->second;
  }
};

}  // namespace tx::screen
