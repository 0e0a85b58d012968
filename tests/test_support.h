// Helpers shared by the tests: temporary folders, files, UTF-16 paths, and
// reading a VFK text written by the test itself.
#ifndef VORLANE_TESTS_TEST_SUPPORT_H_
#define VORLANE_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/cadastral_model.h"
#include "platform/path.h"
#include "vfk/text_conversion.h"
#include "vfk/vfk_parser.h"

namespace vorlane::testing {

// A fresh folder, removed with everything in it when the object goes. The
// drawings (*.svg) left in it are first checked to be well-formed XML.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);

// The path as the library takes it (UTF-16).
PathString widePath(const std::filesystem::path& path);

// Runs "action" as a user without privileges: as the user nobody, in a
// child process, when this process runs as root. Returns its result.
bool asUnprivilegedUser(const std::function<bool()>& action);

// The standard output written while "action" ran.
template <typename Action>
std::string captureStdout(Action action) {
  ::testing::internal::CaptureStdout();
  action();
  return ::testing::internal::GetCapturedStdout();
}

// A model read from VFK text, with what the reader printed.
struct ReadResult {
  std::unique_ptr<VfkParser> parser = std::make_unique<VfkParser>();
  bool opened = false;
  std::string output;
  const CadastralModel& model() const { return parser->model; }
};

// Writes "vfkText" to a file and reads it. Lines may end in "\n" alone.
ReadResult readVfk(const std::string& vfkText);

// "\n" replaced by CR LF, as the drawing's line ends are written.
std::string crlf(std::string_view text);

// The whole drawing of "model", as writeSvg would write it to a file; it is
// checked to be well-formed XML.
std::string drawing(const CadastralModel& model, int units = 1, bool centreOrigin = false);

// Views of the flat model, for expectations.
std::vector<int32_t> pointsOf(const CadastralModel& model, IndexRange pointIndices);
template <typename Line>
std::vector<int32_t> pointsOf(const CadastralModel& model, const Line& line) {
  return pointsOf(model, line.pointIndices);
}
// The parcel, unit or building with the identifier; the test fails when there
// is none.
const Parcel& parcelNamed(const CadastralModel& model, std::string_view id);
const BpejArea& bpejAreaNamed(const CadastralModel& model, std::string_view code);
const Building& buildingNamed(const CadastralModel& model, std::string_view id);
// The identifier of the parcel, or the code of the unit, at a position that
// a boundary names; "" for kNoArea.
std::string_view parcelIdAt(const CadastralModel& model, int32_t area);
std::string_view bpejCodeAt(const CadastralModel& model, int32_t area);

// The lines between the start and end tags of the layer group "layer" in a
// drawing, with "\n" line ends.
std::string groupContent(const std::string& drawing, std::string_view layer);

// The 21 map symbol definitions as every drawing must hold them, with "\n"
// line ends (tests/symbol_library_table.cpp).
std::string symbolLibraryText();

// Whether xmllint (libxml2) finds the file well-formed XML; nullopt when
// xmllint is not installed.
std::optional<bool> isWellFormedXml(const std::filesystem::path& path);

// The arrow symbol and its comments, as every parcel text group holds them.
constexpr std::string_view kArrowDefinition =
    "\n"
    "        <!-- Parcel arrow definition -->\n"
    "        <symbol id=\"VL_symbol_arrow\" description=\"Popisná šipka\">\n"
    "            <line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"2.5\" stroke=\"black\" stroke-width=\"0.20\" />\n"
    "            <line x1=\"-0.5\" y1=\"1.7\" x2=\"0\" y2=\"2.5\" stroke=\"black\" stroke-width=\"0.20\" />\n"
    "            <line x1=\"0.5\" y1=\"1.7\" x2=\"0\" y2=\"2.5\" stroke=\"black\" stroke-width=\"0.20\" />\n"
    "        </symbol>\n"
    "\n"
    "        <!-- Parcels arrows usage -->\n";

// Every test that reads files starts from the code page a freshly loaded
// library has, so that no test depends on the ones run before it.
class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { setProcessCodePage(0); }
  void TearDown() override { setProcessCodePage(0); }
};

}  // namespace vorlane::testing

#endif  // VORLANE_TESTS_TEST_SUPPORT_H_
