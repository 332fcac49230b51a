#include "startup.h"

namespace Utils {

void HardenDllSearch() {}

}  // namespace Utils
