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

#include "entry/conversion.h"
#include "entry/messages.h"
#include "model/cadastral_model.h"
#include "platform/path.h"
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

// The definition of the survey points' block: ID, SOURADNICE_Y, SOURADNICE_X.
inline const std::string kSobrDefinition = "&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n";

// Parcel 77: a triangle of the points 1 (Y 10, X 20), 2 (11, 20) and
// 3 (11, 21), one boundary through 1 2 3 1 (kTriangleLines, which ends with
// the OP block's definition), its number row "77" and its border's path.
inline const std::string kTrianglePoints =
    kSobrDefinition + "&DSOBR;1;10;20\n&DSOBR;2;11;20\n&DSOBR;3;11;21\n";
inline const std::string kTriangleLines =
    "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n"
    "&DSBP;1;1;5\n&DSBP;2;2;5\n&DSBP;3;3;5\n&DSBP;1;4;5\n"
    "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n&DHP;5;0;77;\n"
    "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\n";
inline const std::string kTriangleNumber = "&DOP;77;\"PC\";0;\"77\"\n";
inline const std::string kTrianglePath =
    "<path id=\"77\" style=\"fill:none;stroke:black;stroke-width:0.2\" "
    "d=\"M-10.00,-20.00 -11.00,-20.00 -11.00,-21.00 -10.00,-20.00 \"/>";

// Keeps every finding of a conversion, and the messages the library's
// export prints for them.
class RecordedFindings : public Diagnostics {
 public:
  using Kept = KeptFinding;

  void report(const Finding& finding) override;
  // The printed messages, the last line for warnings left out included.
  std::string messages();
  // The findings of one kind.
  std::vector<Kept> of(FindingKind kind) const;

  std::vector<Kept> kept;

 private:
  std::string messages_;
  PrintedMessages printed_{&messages_};
};

// A model read from VFK text, with its findings and what the library prints.
struct ReadResult {
  std::unique_ptr<RecordedFindings> findings = std::make_unique<RecordedFindings>();
  std::unique_ptr<VfkParser> parser = std::make_unique<VfkParser>(*findings);
  FileRead read;
  std::string output;
  const CadastralModel& model() const { return parser->model; }
};

// Writes "vfkText" to a file and reads it, starting from "codePage". Lines
// may end in "\n" alone.
ReadResult readVfk(const std::string& vfkText, int codePage = kAnsiCodePage,
                   const DrawingOptions& options = {});

// Resolves the model's geometry; returns the messages the library prints.
std::string resolve(CadastralModel& model, const DrawingOptions& options = {});

// "\n" replaced by CR LF, as the drawing's line ends are written.
std::string crlf(std::string_view text);

// The whole drawing of "model", as writeSvg would write it to a file; it is
// checked to be well-formed XML.
std::string drawing(const CadastralModel& model, const DrawingOptions& options = {});

// Converts VFK texts as the library's export does, in a folder of the test.
class ConversionTest : public ::testing::Test {
 protected:
  // Converts the file at "input"; what the library printed goes to "output".
  Conversion convertFile(const std::filesystem::path& input,
                         const ConversionSettings& settings = {});
  // Writes "vfkText" as NAME.vfk and converts it; returns its drawing, or ""
  // when none was written. The conversion's result goes to "result".
  std::string convert(const std::string& vfkText, const std::string& name = "input",
                      const ConversionSettings& settings = {});

  TempDir dir;
  Conversion result;
  std::string output;  // what the library printed
};

// Views of the flat model, for expectations.
using Indices = std::vector<int32_t>;
inline Indices indices(std::span<const int32_t> list) { return Indices(list.begin(), list.end()); }
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

// Whether xmllint (libxml2) finds the file well-formed XML; nullopt when
// xmllint is not installed.
std::optional<bool> isWellFormedXml(const std::filesystem::path& path);

}  // namespace vorlane::testing

#endif  // VORLANE_TESTS_TEST_SUPPORT_H_
