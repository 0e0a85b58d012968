#include "tests/test_support.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "svg/svg_output.h"
#include "svg/write_svg.h"

namespace vorlane::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device random;
  path_ = fs::temp_directory_path() / ("vorlane-test-" + std::to_string(::getpid()) + "-" +
                                       std::to_string(counter++) + "-" + std::to_string(random()));
  fs::create_directories(path_);
  // Open to every user, for the tests that run as another one.
  fs::permissions(path_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Every drawing a test leaves behind is checked, whatever the test asserts.
  for (auto entry = fs::recursive_directory_iterator(path_, ignored);
       entry != fs::recursive_directory_iterator(); entry.increment(ignored)) {
    if (entry->is_regular_file(ignored) && entry->path().extension() == ".svg") {
      EXPECT_NE(isWellFormedXml(entry->path()), std::optional<bool>(false))
          << entry->path() << " is not well-formed XML (xmllint's report is above)";
    }
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PathString widePath(const fs::path& path) {
  const std::u16string wide = path.u16string();
  return PathString(wide.begin(), wide.end());
}

bool asUnprivilegedUser(const std::function<bool()>& action) {
  if (::geteuid() != 0) return action();
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    ::_exit(dropped && action() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void RecordedFindings::report(const Finding& finding) {
  kept.emplace_back(finding);
  printed_.report(finding);
}

std::string RecordedFindings::messages() {
  printed_.finish();
  return messages_;
}

std::vector<RecordedFindings::Kept> RecordedFindings::of(FindingKind kind) const {
  std::vector<Kept> found;
  for (const Kept& finding : kept) {
    if (finding.kind == kind) found.push_back(finding);
  }
  return found;
}

std::string resolve(CadastralModel& model, const DrawingOptions& options) {
  RecordedFindings findings;
  model.resolveGeometry(options, findings);
  return findings.messages();
}

Conversion ConversionTest::convertFile(const fs::path& input, const ConversionSettings& settings) {
  std::string printed;
  PrintedMessages messages(&printed);
  const Conversion conversion = convertVfkFile(widePath(input), settings, messages);
  messages.finish();
  output = printed;
  return conversion;
}

std::string ConversionTest::convert(const std::string& vfkText, const std::string& name,
                                    const ConversionSettings& settings) {
  writeFile(dir.path() / (name + ".vfk"), vfkText);
  result = convertFile(dir.path() / (name + ".vfk"), settings);
  const fs::path svg = dir.path() / (name + ".svg");
  return fs::exists(svg) ? readFile(svg) : "";
}

ReadResult readVfk(const std::string& vfkText, int codePage, const DrawingOptions& options) {
  TempDir dir;
  const fs::path file = dir.path() / "input.vfk";
  writeFile(file, vfkText);
  ReadResult result;
  result.read = result.parser->parseFile(widePath(file), codePage, options);
  result.output = result.findings->messages();
  return result;
}

std::optional<bool> isWellFormedXml(const fs::path& path) {
  static const bool haveXmllint = std::system("command -v xmllint >/dev/null 2>&1") == 0;
  if (!haveXmllint) return std::nullopt;
  const std::string command = "xmllint --noout '" + path.string() + "'";
  return std::system(command.c_str()) == 0;
}

std::string crlf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string drawing(const CadastralModel& model, const DrawingOptions& options) {
  SvgOutput out;
  writeDocument(model, out, options);
  const std::string text(out.text());
  TempDir dir;  // checks the drawing when it goes
  writeFile(dir.path() / "drawing.svg", text);
  return text;
}

std::vector<int32_t> pointsOf(const CadastralModel& model, IndexRange pointIndices) {
  const std::span<const int32_t> points = slice(model.pointIndexPool, pointIndices);
  return std::vector<int32_t>(points.begin(), points.end());
}

namespace {

template <typename Record>
const Record& named(const CadastralModel& model, const PodVector<Record>& records,
                    TextRef Record::*name, std::string_view wanted) {
  for (const Record& record : records) {
    if (model.text(record.*name) == wanted) return record;
  }
  ADD_FAILURE() << "no record named \"" << wanted << "\"";
  static const Record kNone;
  return kNone;
}

}  // namespace

const Parcel& parcelNamed(const CadastralModel& model, std::string_view id) {
  return named(model, model.parcels, &Parcel::id, id);
}

const BpejArea& bpejAreaNamed(const CadastralModel& model, std::string_view code) {
  return named(model, model.bpejAreas, &BpejArea::code, code);
}

const Building& buildingNamed(const CadastralModel& model, std::string_view id) {
  return named(model, model.buildings, &Building::id, id);
}

std::string_view parcelIdAt(const CadastralModel& model, int32_t area) {
  return area == kNoArea ? std::string_view()
                         : model.text(model.parcels[static_cast<size_t>(area)].id);
}

std::string_view bpejCodeAt(const CadastralModel& model, int32_t area) {
  return area == kNoArea ? std::string_view()
                         : model.text(model.bpejAreas[static_cast<size_t>(area)].code);
}

std::string groupContent(const std::string& drawing, std::string_view layer) {
  const std::string start = "    <g layer=\"" + std::string(layer) + "\"";
  const size_t tag = drawing.find(start);
  if (tag == std::string::npos) {
    ADD_FAILURE() << "no group " << layer;
    return "";
  }
  const size_t begin = drawing.find("\r\n", tag) + 2;
  const size_t end = drawing.find("    </g>\r\n", begin);
  std::string content = drawing.substr(begin, end - begin);
  std::string lines;
  for (const char c : content) {
    if (c != '\r') lines += c;
  }
  return lines;
}

}  // namespace vorlane::testing
