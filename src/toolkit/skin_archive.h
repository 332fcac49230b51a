// Where skin files come from: the process-wide skin settings, the 7z skin
// archive held in memory, and reading a skin file by name.
//
// All of it runs on the window thread; nothing here is locked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace DuiLib {

// Largest layout document (bytes).
constexpr size_t kMaxSkinDocumentSize = 4194304;
// An archive whose files together would unpack to more than this is refused
// before anything is allocated for them (a whole skin is well below 1 MiB).
constexpr uint64_t kMaxSkinArchiveUnpackedSize = 64ull * 1024 * 1024;

// The error texts of skin file reading.
extern const wchar_t kErrorOpeningFile[];      // "Error opening file"
extern const wchar_t kErrorFileEmpty[];        // "File is empty"
extern const wchar_t kErrorFileTooLarge[];     // "File too large"
extern const wchar_t kErrorReadingFile[];      // "Could not read file"
extern const wchar_t kErrorOpeningArchive[];   // "Error opening zip file"
extern const wchar_t kErrorEntryNotFound[];    // "Could not find ziped file"
extern const wchar_t kErrorUnpackingEntry[];   // "Could not unzip file"

// An opened 7z archive: every file entry decompressed in full when opened;
// folder entries are left out.
class SkinArchive {
 public:
  struct Entry {
    std::wstring name;      // as stored, "/" between folder names
    size_t nameLength = 0;  // name length including the terminating zero
    uint32_t index = 0;     // index in the archive
    uint64_t size = 0;
    std::vector<uint8_t> content;
    // False when the entry could not be unpacked (damaged data, bad
    // checksum); reading it fails with "Could not unzip file".
    bool unpacked = false;
  };

  // Opens the 7z archive in `data` (not kept; the entries own their
  // content). Null when it cannot be read: not a 7z archive, a damaged
  // header, an unsupported method, or files that together would unpack to
  // more than `maxUnpackedSize` bytes. An entry whose data is damaged is kept
  // with `unpacked` false.
  static std::unique_ptr<SkinArchive> Open(const uint8_t* data, size_t size,
                                           uint64_t maxUnpackedSize = kMaxSkinArchiveUnpackedSize);

  // The first entry whose name, with every "\" of `name` read as "/", has the
  // same length and equals it without regard to case; null when none does.
  // Case folding covers ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic,
  // independent of the locale.
  const Entry* Find(const std::wstring& name) const;
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// What a skin file is read for; documents have a size limit of their own.
enum class SkinFileKind { kDocument, kImage };

// The process-wide skin settings of the toolkit.
class SkinSettings {
 public:
  // Module instance (an HINSTANCE on Windows) where resources are looked up.
  static void SetInstance(void* instance);
  static void* Instance();

  // Prefix of skin files read from disk; a backslash is appended when the
  // path does not end in "\" or "/".
  static void SetResourcePath(const std::wstring& path);
  static const std::wstring& ResourcePath();

  // True selects the 7z reader (the installer's choice); false the ZIP
  // reader, which this toolkit does not have (archives then fail to open).
  static void SetArchiveFormat7z(bool is7z);
  static bool IsArchiveFormat7z();

  // Empty while skin files are plain files under the resource path;
  // "membuffer" once an archive has been taken into memory.
  static const std::wstring& ArchiveName();
  // True when an archive is open.
  static bool HasOpenArchive();

  // Takes `bytes` as the process's skin archive and opens it, unless the
  // archive name is already "membuffer" (then the first archive stays and
  // this does nothing). False when the archive cannot be read; then no
  // archive is open and every later lookup fails with "Error opening zip
  // file".
  static bool OpenArchiveFromMemory(std::vector<uint8_t> bytes);

  // Loads the window's archive resource (type "ZIPRES", identifier
  // `resourceId`) from the module instance and opens it as above. Nothing is
  // loaded when the archive is already open, or when the resource is missing
  // or empty (false). Off Windows the resource is the file
  // "ZIPRES_<id>.7z" under the resource path.
  static bool LoadArchiveResource(int resourceId);

  // Reads the skin file `name` (as written in the layout, "\" or "/") from the
  // open archive, or from disk under the resource path when the archive name
  // is empty. On failure returns false with one of the error texts above.
  static bool ReadFile(const std::wstring& name, SkinFileKind kind, std::vector<uint8_t>& bytes,
                       std::wstring& error);

  // Forgets every setting and closes the archive (tests, and a process that
  // wants to start over).
  static void Reset();
};

// A reader for `ImageCache`: images from the process's skin source.
bool ReadSkinImageFile(const std::wstring& name, std::vector<uint8_t>& bytes);

}  // namespace DuiLib
