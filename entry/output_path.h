// Where a drawing goes: beside its VFK file.
#ifndef VORLANE_ENTRY_OUTPUT_PATH_H_
#define VORLANE_ENTRY_OUTPUT_PATH_H_

#include <string>
#include <string_view>

namespace vorlane {

// The input path with everything from its last "." replaced by "extension"
// (".svg" unless another is given), or with it appended when the path has no
// "." at all. The dot may lie in a folder name: C:\data.old\export gives
// C:\data.svg.
template <typename Char>
std::basic_string<Char> outputPathFor(std::basic_string_view<Char> vfkPath,
                                      std::string_view extension = ".svg") {
  std::basic_string<Char> path(vfkPath);
  const size_t dot = path.rfind(Char('.'));
  if (dot != std::basic_string<Char>::npos) path.erase(dot);
  for (const char c : extension) path.push_back(Char(c));
  return path;
}

}  // namespace vorlane

#endif  // VORLANE_ENTRY_OUTPUT_PATH_H_
