// State dumps of the headless host: one JSON object per line.
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"
#include "startup/program.h"

namespace dusk::headless {

class JsonLine {
 public:
  JsonLine& Field(const std::string& name, long long v);
  JsonLine& Field(const std::string& name, const std::string& v);
  JsonLine& Raw(const std::string& name, const std::string& json);
  JsonLine& Strings(const std::string& name, const std::vector<std::string>& v);
  JsonLine& Numbers(const std::string& name, const std::vector<int>& v);
  std::string Text() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
  void Key(const std::string& name);
};

std::string Quote(const std::string& s);
void SettingsFields(JsonLine& j, Program& p);
std::string RecordsJson(const Program& p);
std::string LabelsJson(const LabelControl* labels[], const char* names[], int count);

}  // namespace dusk::headless
