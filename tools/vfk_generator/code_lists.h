// The code lists an export carries, each a whole block of fixed rows.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_CODE_LISTS_H_
#define VORLANE_TOOLS_VFK_GENERATOR_CODE_LISTS_H_

#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

void writeTypbud(RowWriter& w);  // building types
void writeDrupoz(RowWriter& w);  // land types
void writeTyppd(RowWriter& w);   // drawing element types

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_CODE_LISTS_H_
