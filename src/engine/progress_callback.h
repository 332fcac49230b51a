// The install event callback shared by the install task, its components and
// the window.
#pragma once

#include <cstdint>
#include <functional>

// Receives one install event: its code (1001-1004 download, 2001-2004 and
// 3000-3009 setup package, 5002-5004 removal), a value whose meaning depends on
// the code, and a text that is never null, possibly empty, and valid only
// during the call. Implementations must be safe to call from any thread: the
// engine raises events on its worker threads.
using ProgressCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;
