// The per-user data file of the product: "APP.ini" in the folder "Quorvane"
// of the user's roaming application data. The window writes it once, at the
// end of its initialisation, whether an installation follows or not.
#pragma once

#include <string>
#include <string_view>

#include "env/env_services.h"

namespace Utils {

// The folder of the data file from the user's local application data folder:
// its last 6 characters, the "\Local" of the usual layout, are dropped and
// "\Roaming\Quorvane" appended. Empty when the folder does not end in
// "\Local" (either separator, any case) after at least one character, since
// then dropping 6 characters would not lead to the application data root, or
// when the result would not fit 259 characters.
std::wstring UserDataFolderBesideLocal(std::wstring_view localAppData);

// Creates the data file's folder and, in "APP.ini": sets "channel" of
// "Install" to "vuzeri" when it is missing or holds "error", keeps any other
// channel, and writes "0" to "isrun" of "help" and "native" of "Install".
// Sets the runtime locale (services.setLocale) before the profile calls, also
// when the folder is unknown and nothing is written. Failures are silent: the
// window goes on.
void WriteUserDataFile(const EnvServices& services);

}  // namespace Utils
