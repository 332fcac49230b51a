#include "toolkit/skin_archive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "7z.h"
#include "7zCrc.h"
#include "toolkit/skin_archive_platform.h"

namespace DuiLib {

const wchar_t kErrorOpeningFile[] = L"Error opening file";
const wchar_t kErrorFileEmpty[] = L"File is empty";
const wchar_t kErrorFileTooLarge[] = L"File too large";
const wchar_t kErrorReadingFile[] = L"Could not read file";
const wchar_t kErrorOpeningArchive[] = L"Error opening zip file";
const wchar_t kErrorEntryNotFound[] = L"Could not find ziped file";
const wchar_t kErrorUnpackingEntry[] = L"Could not unzip file";

namespace {

// ---------------------------------------------------------------------------
// The 7z reader's view of an archive in memory.

struct MemoryLookStream {
  ILookInStream vt;
  const Byte* data;
  size_t size;
  size_t pos;
};

MemoryLookStream* StreamOf(ILookInStreamPtr p) {
  return reinterpret_cast<MemoryLookStream*>(const_cast<ILookInStream*>(p));
}

SRes StreamLook(ILookInStreamPtr p, const void** buf, size_t* size) {
  MemoryLookStream* s = StreamOf(p);
  const size_t left = s->size - s->pos;
  if (*size > left) *size = left;
  *buf = s->data + s->pos;
  return SZ_OK;
}

SRes StreamSkip(ILookInStreamPtr p, size_t offset) {
  MemoryLookStream* s = StreamOf(p);
  s->pos += offset <= s->size - s->pos ? offset : s->size - s->pos;
  return SZ_OK;
}

SRes StreamRead(ILookInStreamPtr p, void* buf, size_t* size) {
  MemoryLookStream* s = StreamOf(p);
  const size_t left = s->size - s->pos;
  if (*size > left) *size = left;
  if (*size > 0) std::memcpy(buf, s->data + s->pos, *size);
  s->pos += *size;
  return SZ_OK;
}

SRes StreamSeek(ILookInStreamPtr p, Int64* pos, ESzSeek origin) {
  MemoryLookStream* s = StreamOf(p);
  Int64 base = 0;
  if (origin == SZ_SEEK_CUR) {
    base = static_cast<Int64>(s->pos);
  } else if (origin == SZ_SEEK_END) {
    base = static_cast<Int64>(s->size);
  }
  // Positions outside the block are refused rather than clamped, so a bad
  // offset in the archive fails at once.
  if (*pos < -base || *pos > static_cast<Int64>(s->size) - base) return SZ_ERROR_READ;
  s->pos = static_cast<size_t>(base + *pos);
  *pos = static_cast<Int64>(s->pos);
  return SZ_OK;
}

// An allocator with a budget, so that sizes claimed by a damaged or hostile
// archive cannot take more memory than a real skin ever needs.
struct BudgetAlloc {
  ISzAlloc vt;
  size_t left;
};

constexpr size_t kAllocHeader = 16;

void* BudgetAllocate(ISzAllocPtr p, size_t size) {
  auto* self = reinterpret_cast<BudgetAlloc*>(const_cast<ISzAlloc*>(p));
  if (size == 0) size = 1;
  if (size > self->left || self->left - size < kAllocHeader) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kAllocHeader));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  self->left -= size + kAllocHeader;
  return block + kAllocHeader;
}

void BudgetFree(ISzAllocPtr p, void* address) {
  if (address == nullptr) return;
  auto* self = reinterpret_cast<BudgetAlloc*>(const_cast<ISzAlloc*>(p));
  unsigned char* block = static_cast<unsigned char*>(address) - kAllocHeader;
  size_t size;
  std::memcpy(&size, block, sizeof size);
  self->left += size + kAllocHeader;
  std::free(block);
}

// Everything the reader allocates at once: the headers, one unpacked solid
// block and the decoder's state.
constexpr size_t kReaderBudget = static_cast<size_t>(kMaxSkinArchiveUnpackedSize) + (16u << 20);

std::wstring NameFromUtf16(const std::vector<UInt16>& utf16) {
  std::wstring name;
  name.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size() && utf16[i] != 0; ++i) {
    uint32_t c = utf16[i];
    if (sizeof(wchar_t) == 4 && c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() &&
        utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
      ++i;
    }
    name.push_back(static_cast<wchar_t>(c));
  }
  return name;
}

// Case folding for name lookup, the same in every locale: ASCII, Latin-1,
// Latin Extended-A, basic Greek and Cyrillic.
wchar_t FoldCase(wchar_t ch) {
  const uint32_t c = static_cast<uint32_t>(ch);
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? static_cast<wchar_t>(c + 32) : ch;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return ch;
    if (c == 0x178) return static_cast<wchar_t>(0xFF);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
      return (c & 1) ? static_cast<wchar_t>(c + 1) : ch;
    }
    return (c & 1) ? ch : static_cast<wchar_t>(c + 1);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<wchar_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
  return ch;
}

}  // namespace

std::unique_ptr<SkinArchive> SkinArchive::Open(const uint8_t* data, size_t size,
                                               uint64_t maxUnpackedSize) {
  if (data == nullptr || size == 0) return nullptr;
  static std::once_flag crcTable;
  std::call_once(crcTable, [] { CrcGenerateTable(); });

  MemoryLookStream stream;
  stream.vt.Look = StreamLook;
  stream.vt.Skip = StreamSkip;
  stream.vt.Read = StreamRead;
  stream.vt.Seek = StreamSeek;
  stream.data = data;
  stream.size = size;
  stream.pos = 0;

  BudgetAlloc alloc;
  alloc.vt.Alloc = BudgetAllocate;
  alloc.vt.Free = BudgetFree;
  alloc.left = kReaderBudget;

  CSzArEx db;
  SzArEx_Init(&db);
  if (SzArEx_Open(&db, &stream.vt, &alloc.vt, &alloc.vt) != SZ_OK) {
    SzArEx_Free(&db, &alloc.vt);
    return nullptr;
  }

  // Refuse archives that claim more than a skin can hold before unpacking
  // anything.
  uint64_t total = 0;
  for (UInt32 i = 0; i < db.NumFiles; ++i) {
    if (SzArEx_IsDir(&db, i)) continue;
    total += SzArEx_GetFileSize(&db, i);
    if (total > maxUnpackedSize) break;
  }
  for (UInt32 f = 0; f < db.db.NumFolders && total <= maxUnpackedSize; ++f) {
    if (SzAr_GetFolderUnpackSize(&db.db, f) > maxUnpackedSize) total = maxUnpackedSize + 1;
  }
  if (total > maxUnpackedSize) {
    SzArEx_Free(&db, &alloc.vt);
    return nullptr;
  }

  auto archive = std::unique_ptr<SkinArchive>(new SkinArchive());
  UInt32 blockIndex = 0xFFFFFFFF;
  Byte* block = nullptr;
  size_t blockSize = 0;
  UInt32 failedFolder = 0xFFFFFFFF;
  bool ok = true;
  for (UInt32 i = 0; i < db.NumFiles && ok; ++i) {
    if (SzArEx_IsDir(&db, i)) continue;
    const UInt32 folder = db.FileToFolder[i];
    Entry entry;
    std::vector<UInt16> utf16(SzArEx_GetFileNameUtf16(&db, i, nullptr), 0);
    if (!utf16.empty()) SzArEx_GetFileNameUtf16(&db, i, utf16.data());
    entry.name = NameFromUtf16(utf16);
    entry.nameLength = entry.name.size() + 1;
    entry.index = i;
    entry.size = SzArEx_GetFileSize(&db, i);
    size_t offset = 0, unpacked = 0;
    // A block that failed once is not unpacked again for its other files.
    const SRes res = folder != 0xFFFFFFFF && folder == failedFolder
                         ? SZ_ERROR_DATA
                         : SzArEx_Extract(&db, &stream.vt, i, &blockIndex, &block, &blockSize,
                                          &offset, &unpacked, &alloc.vt, &alloc.vt);
    if (res != SZ_OK) failedFolder = folder;
    if (res == SZ_OK && offset <= blockSize && unpacked <= blockSize - offset &&
        unpacked == entry.size) {
      entry.content.assign(block + offset, block + offset + unpacked);
      entry.unpacked = true;
    } else if (res == SZ_ERROR_MEM) {
      ok = false;
    }
    archive->entries_.push_back(std::move(entry));
  }
  BudgetFree(&alloc.vt, block);
  SzArEx_Free(&db, &alloc.vt);
  if (!ok) return nullptr;
  return archive;
}

const SkinArchive::Entry* SkinArchive::Find(const std::wstring& name) const {
  std::wstring wanted = name;
  for (wchar_t& c : wanted) {
    if (c == L'\\') c = L'/';
  }
  for (const Entry& entry : entries_) {
    if (entry.nameLength != wanted.size() + 1) continue;
    bool same = true;
    for (size_t i = 0; i < wanted.size() && same; ++i) {
      same = FoldCase(entry.name[i]) == FoldCase(wanted[i]);
    }
    if (same) return &entry;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Process-wide settings.

namespace {

const wchar_t kMemoryArchiveName[] = L"membuffer";

struct SkinState {
  void* instance = nullptr;
  std::wstring resourcePath;
  bool is7z = true;
  std::wstring archiveName;
  std::vector<uint8_t> archiveBytes;
  std::unique_ptr<SkinArchive> archive;
};

SkinState& State() {
  static SkinState state;
  return state;
}

bool ReadDiskFile(const std::wstring& path, SkinFileKind kind, std::vector<uint8_t>& bytes,
                  std::wstring& error) {
  std::FILE* file = OpenSkinFileOnDisk(path);
  if (file == nullptr) {
    error = kErrorOpeningFile;
    return false;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  bool ok = false;
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    error = kErrorReadingFile;
  } else if (size == 0) {
    error = kErrorFileEmpty;
  } else if (kind == SkinFileKind::kDocument && static_cast<size_t>(size) > kMaxSkinDocumentSize) {
    error = kErrorFileTooLarge;
  } else {
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      error = kErrorReadingFile;
    } else {
      ok = true;
    }
  }
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace

void SkinSettings::SetInstance(void* instance) { State().instance = instance; }
void* SkinSettings::Instance() { return State().instance; }

void SkinSettings::SetResourcePath(const std::wstring& path) {
  std::wstring& stored = State().resourcePath;
  stored = path;
  if (stored.empty() || (stored.back() != L'\\' && stored.back() != L'/')) stored += L'\\';
}

const std::wstring& SkinSettings::ResourcePath() { return State().resourcePath; }

void SkinSettings::SetArchiveFormat7z(bool is7z) { State().is7z = is7z; }
bool SkinSettings::IsArchiveFormat7z() { return State().is7z; }
const std::wstring& SkinSettings::ArchiveName() { return State().archiveName; }
bool SkinSettings::HasOpenArchive() { return State().archive != nullptr; }

bool SkinSettings::OpenArchiveFromMemory(std::vector<uint8_t> bytes) {
  SkinState& state = State();
  if (state.archiveName == kMemoryArchiveName) return state.archive != nullptr;
  state.archive.reset();
  state.archiveName = kMemoryArchiveName;
  state.archiveBytes = std::move(bytes);
  if (state.is7z) {
    state.archive = SkinArchive::Open(state.archiveBytes.data(), state.archiveBytes.size());
  }
  return state.archive != nullptr;
}

bool SkinSettings::LoadArchiveResource(int resourceId) {
  SkinState& state = State();
  if (state.archiveName == kMemoryArchiveName) return state.archive != nullptr;
  std::vector<uint8_t> bytes;
  if (!LoadSkinResource(state.instance, state.resourcePath, resourceId, bytes)) return false;
  return OpenArchiveFromMemory(std::move(bytes));
}

bool SkinSettings::ReadFile(const std::wstring& name, SkinFileKind kind,
                            std::vector<uint8_t>& bytes, std::wstring& error) {
  bytes.clear();
  error.clear();
  const SkinState& state = State();
  if (state.archiveName.empty()) {
    return ReadDiskFile(state.resourcePath + name, kind, bytes, error);
  }
  if (!state.archive) {
    error = kErrorOpeningArchive;
    return false;
  }
  const SkinArchive::Entry* entry = state.archive->Find(name);
  if (entry == nullptr) {
    error = kErrorEntryNotFound;
    return false;
  }
  if (!entry->unpacked) {
    error = kErrorUnpackingEntry;
    return false;
  }
  if (entry->content.empty()) {
    error = kErrorFileEmpty;
    return false;
  }
  if (kind == SkinFileKind::kDocument && entry->content.size() > kMaxSkinDocumentSize) {
    error = kErrorFileTooLarge;
    return false;
  }
  bytes = entry->content;
  return true;
}

void SkinSettings::Reset() { State() = SkinState(); }

bool ReadSkinImageFile(const std::wstring& name, std::vector<uint8_t>& bytes) {
  std::wstring error;
  return SkinSettings::ReadFile(name, SkinFileKind::kImage, bytes, error);
}

}  // namespace DuiLib
