// A model of the system for the tests of the environment logic: accounts,
// environment variables, shell folders, files and free space are plain
// fields, and the services read them.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "env/env_services.h"

namespace Utils::Testing {

struct FakeEnvironment {
  std::optional<std::wstring> consoleUser = L"alice";
  std::set<std::wstring> adminAccounts;
  bool processAdmin = false;
  std::map<std::wstring, std::wstring> variables{{L"APPDATA", L"C:\\Users\\alice\\AppData\\Roaming"}};
  std::wstring programFilesX86 = L"C:\\Program Files (x86)";
  std::wstring programFiles = L"C:\\Program Files";
  std::wstring userDataFolder;
  std::set<std::wstring> files;
  std::set<std::wstring> uncreatable;  // paths whose directory chain fails
  uint64_t freeBytes = 100ull << 30;

  // What the services were asked to do.
  std::vector<std::wstring> freeSpaceQueries;
  std::vector<std::wstring> events;  // "pump 100", "open <path>", "timer <id> <ms>", "locale"

  EnvServices Services(const PathRules& rules = kWindowsPathRules) {
    EnvServices s;
    s.rules = rules;
    s.getConsoleUserName = [this](std::wstring& name) {
      if (consoleUser) name = *consoleUser;
      return consoleUser.has_value();
    };
    s.isAdminAccount = [this](const std::wstring& name) { return adminAccounts.count(name) > 0; };
    s.isProcessAdmin = [this] { return processAdmin; };
    s.getEnvironmentVariable = [this](const std::wstring& name) {
      auto it = variables.find(name);
      return it == variables.end() ? std::wstring() : it->second;
    };
    s.getSpecialFolder = [this](SpecialFolder folder) {
      return folder == SpecialFolder::ProgramFilesX86 ? programFilesX86 : programFiles;
    };
    s.getUserDataFolder = [this] { return userDataFolder; };
    s.fileExists = [this](const std::wstring& path) { return files.count(path) > 0; };
    s.isSameDirectory = [rules](const std::wstring& a, const std::wstring& b) {
      return SameDirectoryText(rules, a, b);
    };
    s.createDirectoryChain = [this](const std::wstring& path) { return uncreatable.count(path) == 0; };
    s.freeBytes = [this](const std::wstring& path) {
      freeSpaceQueries.push_back(path);
      return freeBytes;
    };
    s.pumpMessages = [this](unsigned ms) { events.push_back(L"pump " + std::to_wstring(ms)); };
    s.openFile = [this](const std::wstring& path) { events.push_back(L"open " + path); };
    s.armTimer = [this](unsigned id, uint32_t ms) {
      events.push_back(L"timer " + std::to_wstring(id) + L" " + std::to_wstring(ms));
    };
    s.setLocale = [this] { events.push_back(L"locale"); };
    return s;
  }
};

}  // namespace Utils::Testing
