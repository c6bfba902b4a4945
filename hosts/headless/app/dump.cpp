#include "hosts/headless/app/dump.h"

#include <cstdio>

#include "scene/catalogue.h"
#include "scene/settings_table.h"

namespace dusk::headless {

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void JsonLine::Key(const std::string& name) {
  if (!body_.empty()) body_ += ",";
  body_ += Quote(name) + ":";
}

JsonLine& JsonLine::Field(const std::string& name, long long v) {
  Key(name);
  body_ += std::to_string(v);
  return *this;
}

JsonLine& JsonLine::Field(const std::string& name, const std::string& v) {
  Key(name);
  body_ += Quote(v);
  return *this;
}

JsonLine& JsonLine::Raw(const std::string& name, const std::string& json) {
  Key(name);
  body_ += json;
  return *this;
}

JsonLine& JsonLine::Strings(const std::string& name, const std::vector<std::string>& v) {
  std::string json = "[";
  for (size_t i = 0; i < v.size(); ++i) json += (i ? "," : "") + Quote(v[i]);
  return Raw(name, json + "]");
}

JsonLine& JsonLine::Numbers(const std::string& name, const std::vector<int>& v) {
  std::string json = "[";
  for (size_t i = 0; i < v.size(); ++i) json += (i ? "," : "") + std::to_string(v[i]);
  return Raw(name, json + "]");
}

namespace {

std::string Record(const CreatureState& r) {
  JsonLine j;
  j.Field("X", r.X).Field("Y", r.Y).Field("Frame", r.Frame).Field("SrcX", r.SrcX);
  j.Field("StepX", r.StepX).Field("StepY", r.StepY).Field("Enabled", r.Enabled);
  j.Field("FileFound", r.FileFound).Raw("Picture", r.Picture > 0 ? "true" : "false");
  return j.Text();
}

}  // namespace

void SettingsFields(JsonLine& j, Program& p) {
  for (size_t i = 0; i < kSettingRowCount; ++i) {
    const SettingRow& r = kSettingRows[i];
    if (!r.dumpName) continue;
    if (r.type == SettingType::kNumber) j.Field(r.dumpName, static_cast<int16_t>(r.number(p)));
    else if (r.type == SettingType::kText) j.Field(r.dumpName, r.text(p));
    else if (r.count == 1) j.Field(r.dumpName, r.flag(p, 0));
    else {
      std::vector<int> flags;
      for (int n = 0; n < r.count; ++n) flags.push_back(r.flag(p, n));
      j.Numbers(r.dumpName, flags);
    }
  }
}

std::string RecordsJson(const Program& p) {
  const Scene& s = p.scene;
  JsonLine j;
  const std::pair<const char*, const CreatureState*> scenery[] = {
      {"BackTop", &s.BackTop},   {"BackMid1", &s.BackMid1}, {"BackMid2", &s.BackMid2},
      {"BackMid3", &s.BackMid3}, {"BackBottom", &s.BackBottom}, {"Tomb1", &s.Tomb1},
      {"Tomb2", &s.Tomb2},       {"Tomb3", &s.Tomb3},       {"Tomb4", &s.Tomb4}};
  for (auto& [name, r] : scenery) j.Raw(name, Record(*r));
  Scene& scene = const_cast<Scene&>(s);  // the table's accessors take the scene to change it
  for (const CreatureEntry& c : kCreatures) {
    if (c.elements == 0) {
      j.Raw(c.name, Record(c.record(scene)));
      continue;
    }
    std::string json = "[";
    for (int i = 1; i <= c.elements; ++i) json += (i > 1 ? "," : "") + Record(c.element(scene, i));
    j.Raw(c.name, json + "]");
  }
  return j.Text();
}

std::string LabelsJson(const LabelControl* labels[], const char* names[], int count) {
  JsonLine j;
  for (int i = 0; i < count; ++i) {
    const LabelControl& l = *labels[i];
    JsonLine k;
    k.Field("Caption", l.Caption).Field("Left", l.Left).Field("Top", l.Top).Field("Width", l.Width);
    k.Raw("Visible", l.Visible ? "true" : "false");
    k.Field("Alignment", l.TextAlign == Alignment::kCenter ? "center" : "left");
    j.Raw(names[i], k.Text());
  }
  return j.Text();
}

}  // namespace dusk::headless
