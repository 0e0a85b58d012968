#include "cli/clashes.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "cli/file_checks.h"
#include "entry/conversion.h"
#include "platform/files.h"

namespace vorlane::cli {

namespace {

// Where an output goes: the file at its path (a link itself, which is what
// is replaced), or, while there is none, its folder and its name there.
struct Place {
  std::optional<FileIdentity> file;
  std::optional<FileIdentity> folder;
  std::string name;
};

Place placeOf(const RunFile& output) {
  Place place;
  place.file = entryIdentityOf(output.path);
  if (!place.file) {
    const std::filesystem::path path(output.name);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    PathString folderPath;
    if (utf8ToUtf16(folder.string(), folderPath)) place.folder = identityOf(folderPath);
    place.name = path.filename().string();
  }
  return place;
}

bool samePlace(const Place& a, const Place& b) {
  if (a.file || b.file) return a.file == b.file;
  return a.folder && a.folder == b.folder && a.name == b.name;
}

std::string described(const RunFile& output) { return output.role + " (" + output.name + ")"; }

}  // namespace

std::string clashOf(std::span<const RunFile> inputs, std::span<const RunFile> outputs) {
  std::vector<std::optional<FileIdentity>> inputIds;
  for (const RunFile& input : inputs) inputIds.push_back(identityOf(input.path));
  std::vector<Place> places;
  for (const RunFile& output : outputs) {
    const Place place = placeOf(output);
    for (size_t k = 0; k < inputs.size(); ++k) {
      // plan.SVG and plan.svg are one file where names ignore case.
      if ((place.file && place.file == inputIds[k]) ||
          equalIgnoringCase(output.name, inputs[k].name)) {
        return described(output) + " would replace the input " + inputs[k].name;
      }
    }
    for (size_t k = 0; k < places.size(); ++k) {
      if (samePlace(place, places[k])) {
        return described(outputs[k]) + " and " + described(output) + " would be one file";
      }
    }
    if (holdsVfk(output.path)) {
      return described(output) + " would replace " + output.name + ", which is a VFK file";
    }
    places.push_back(place);
  }
  return "";
}

}  // namespace vorlane::cli
