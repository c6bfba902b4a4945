// The System module: error reporting, surfaces, settings access and small utilities.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/labels.h"
#include "platform/runtime.h"
#include "startup/program.h"

namespace dusk {

// Where users report an error code; shown in every error message.
inline constexpr const char* kSupportAddress = "support@duskhollow.example";
inline constexpr const char* kErrorTitle = "ScreenSaver Error";

// The whole text of the error message box for an error number, step and label.
std::string ErrorMessage(int number, const std::string& step, const std::string& label);

// Shows the error in a message box and ends the program through the clean-up (or directly, when
// the clean-up itself failed). Never returns.
[[noreturn]] void ErrorReport(Program& p, const char* label, int number);

// Runs the body of a procedure that owns a label: any failure inside it is reported with that label.
template <class F>
auto Guarded(Program& p, const char* label, F&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const RuntimeError& e) {
    ErrorReport(p, label, e.number);
  } catch (const std::bad_alloc&) {
    ErrorReport(p, label, kErrOutOfMemory);
  }
}

// Surfaces
int32_t GenerateDC(Program& p, const std::string& path);
int32_t GenerateBufferDC(Program& p, Int16 width, Int16 height, int32_t reference);
bool RemoveDC(Program& p, int32_t surface);

// Settings access (the file name is bare: it lives in the Windows directory)
std::string GetIniData(Program& p, const std::string& file, const std::string& section,
                       const std::string& key);
void PutIniData(Program& p, const std::string& file, const std::string& section,
                const std::string& key, const std::string& value);

// Utilities
bool FileInstallCheck(Program& p, const std::string& path);
std::string TrimPath(Program& p, const std::string& path);
struct FormGeometry {
  double left = 0, top = 0, width = 0, height = 0;  // in twips
};
void CenterForm(Program& p, FormGeometry& form);
void SetTFS(Program& p, const std::string& mode);
std::string GetVersion32(Program& p);
std::vector<uint8_t> LoadSound(Program& p, const std::string& path);
int16_t HiWord(int32_t value);
int16_t LoWord(int32_t value);

}  // namespace dusk
