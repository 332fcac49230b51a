// Start-up steps of the process that come before anything else runs.
#pragma once

namespace Utils {

// Narrows where the process finds libraries: the default search is limited
// to the system folder where the system supports it, the current folder
// leaves the search order, and the system libraries the installer and its
// toolkit pull in later are loaded now by their full system path, so that no
// file of the same name beside a downloaded installer is picked up. Every
// failure is ignored; an old system without the default-folder call still
// gets the other steps. Off Windows the loader's order is fixed: nothing to do.
void HardenDllSearch();

}  // namespace Utils
