#include "platform/path_separators.h"

namespace tarnel::platform {

const char* const kPathSeparators = "\\/";

}  // namespace tarnel::platform
