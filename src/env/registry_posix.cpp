#include "registry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <utility>

#include "app/utils_text.h"
#include "env/directory.h"

namespace Utils {
namespace {

constexpr char kHeader[] = "QV-REGISTRY 1";

struct StoredValue {
  std::string key;   // as first written, UTF-8
  std::string name;  // as first written, UTF-8
  RegValueType type = kRegSz;
  std::vector<uint8_t> data;
};

// Entries by key path and value name folded to lower case, which is how the
// registry matches them.
using Store = std::map<std::pair<std::string, std::string>, StoredValue>;

std::string FoldAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

// The folder of the store: $XDG_CONFIG_HOME, or ~/.config, followed by
// "OrinSoft"; empty when neither location is known.
std::string StoreFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/OrinSoft";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/OrinSoft";
  return {};
}

std::string Escape(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == '%' || c == 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& out) {
  if (text.size() % 2) return false;
  out.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

// One value per line: key, name, type and the data in hexadecimal, separated
// by tabs. Lines that do not parse are skipped.
Store Load(const std::string& file) {
  Store store;
  FILE* in = std::fopen(file.c_str(), "rb");
  if (!in) return store;
  std::string content;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, n);
  std::fclose(in);

  std::istringstream lines(content);
  std::string line;
  if (!std::getline(lines, line) || line != kHeader) return store;
  while (std::getline(lines, line)) {
    std::string fields[4];
    size_t start = 0;
    int count = 0;
    for (; count < 4; ++count) {
      const size_t tab = line.find('\t', start);
      fields[count] = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
      if (tab == std::string::npos) {
        ++count;
        break;
      }
      start = tab + 1;
    }
    StoredValue value;
    char* end = nullptr;
    if (count != 4 || !Unescape(fields[0], value.key) || !Unescape(fields[1], value.name) ||
        !ParseHex(fields[3], value.data)) {
      continue;
    }
    const unsigned long type = std::strtoul(fields[2].c_str(), &end, 10);
    if (fields[2].empty() || *end != '\0' || type > 0xFFFFFFFFul) continue;
    value.type = static_cast<RegValueType>(type);
    store[{FoldAscii(value.key), FoldAscii(value.name)}] = std::move(value);
  }
  return store;
}

bool WriteAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Writes the whole store to a new file beside the old one, flushes it to the
// disk and renames it over the old one.
bool Save(const std::string& folder, const std::string& file, const Store& store) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string content = std::string(kHeader) + "\n";
  for (const auto& [id, value] : store) {
    content += Escape(value.key) + "\t" + Escape(value.name) + "\t" + std::to_string(value.type) + "\t";
    for (const uint8_t b : value.data) {
      content += kHex[b >> 4];
      content += kHex[b & 0xF];
    }
    content += "\n";
  }
  std::string temp = folder + "/.HKEY_CURRENT_USER.reg.XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  const bool written = WriteAll(fd, content) && fsync(fd) == 0;
  if (::close(fd) != 0 || !written || std::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool RegReadString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                   RegValueType& type, std::wstring& text) {
  const std::string folder = StoreFolder();
  if (root != RegRoot::CurrentUser || folder.empty()) return false;
  const Store store = Load(folder + "/HKEY_CURRENT_USER.reg");
  const auto it = store.find({FoldAscii(ToNarrow(keyPath, kCodePageUtf8)),
                              FoldAscii(ToNarrow(valueName, kCodePageUtf8))});
  if (it == store.end()) return false;
  type = it->second.type;
  text = DecodeRegistryText(it->second.data.data(), it->second.data.size());
  return true;
}

bool RegWriteData(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                  RegValueType type, const std::vector<uint8_t>& data) {
  const std::string folder = StoreFolder();
  if (root != RegRoot::CurrentUser || folder.empty()) return false;
  if (!CreateDirectoryChain(ToWide(folder, kCodePageUtf8))) return false;
  const std::string file = folder + "/HKEY_CURRENT_USER.reg";
  Store store = Load(file);
  StoredValue value{ToNarrow(keyPath, kCodePageUtf8), ToNarrow(valueName, kCodePageUtf8), type, data};
  const auto id = std::make_pair(FoldAscii(value.key), FoldAscii(value.name));
  const auto existing = store.find(id);
  if (existing != store.end()) {  // the registry keeps the spelling of the first write
    value.key = existing->second.key;
    value.name = existing->second.name;
  }
  store[id] = std::move(value);
  return Save(folder, file, store);
}

}  // namespace Utils
