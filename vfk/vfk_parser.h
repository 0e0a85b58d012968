// VfkParser reads one VFK file into the cadastral model it owns. Start here:
// parseFile() reads the file line by line (line_reader.h), hands each record
// to the header handling, the block definitions or the block loaders
// (block_loaders.h), which build the model through its operations
// (model/cadastral_model.h), and then resolves the model's geometry.
#ifndef VORLANE_VFK_VFK_PARSER_H_
#define VORLANE_VFK_VFK_PARSER_H_

#include <string>

#include "model/cadastral_model.h"
#include "platform/path.h"
#include "vfk/point_lists.h"

namespace vorlane {

class VfkParser {
 public:
  // Clears the model, reads the whole file at vfkPath into it and resolves
  // its geometry. Returns false only when the file cannot be opened (after
  // printing a message); the model is then empty. "failure", when given,
  // receives the system's reason where the file could not be opened or read
  // to its end; a read that fails ends the file there.
  bool parseFile(PathView vfkPath, std::string* failure = nullptr);

  CadastralModel model;
  // What the point lists of one file may grow to; see PointBudget.
  PointBudget limits;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_VFK_PARSER_H_
