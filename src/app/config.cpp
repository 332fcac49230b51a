#include "config.h"

#include <charconv>
#include <system_error>

#include "cmdline.h"
#include "probe.h"
#include "profile.h"
#include "utils_path.h"
#include "utils_text.h"

const wchar_t kDefaultDownloadUrl[] =
    L"https://download.orinsoft.example/openapi/download?ch=10009&app=50003";

namespace {

constexpr wchar_t kRoutePlaceholder[] = L"${ROUTE}";
constexpr wchar_t kSection[] = L"Install";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::optional<double> ParseDecimal(std::wstring_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && Utils::IsAsciiSpace(text[i])) ++i;

  // 1. The longest prefix of the number's form, copied as ASCII.
  std::string number;
  if (i < n && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') number.push_back('-');
    ++i;
  }
  size_t digits = 0;
  for (; i < n && IsDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
  if (i < n && text[i] == L'.') {
    number.push_back('.');
    for (++i; i < n && IsDigit(text[i]); ++i, ++digits)
      number.push_back(static_cast<char>(text[i]));
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < n && (text[j] == L'+' || text[j] == L'-')) exponent.push_back(static_cast<char>(text[j++]));
    if (j < n && IsDigit(text[j])) {
      for (; j < n && IsDigit(text[j]); ++j) exponent.push_back(static_cast<char>(text[j]));
      number += exponent;
    }
  }

  // 2. Conversion, independent of the locale; a magnitude out of range
  // counts as no number.
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

CommandLineArgs::CommandLineArgs(const std::vector<std::wstring>& arguments) {
  for (const std::wstring& arg : arguments) {
    const size_t eq = arg.find(L'=');
    if (!arg.empty() && arg[0] == L'-' && eq != std::wstring::npos)
      entries_.emplace(arg.substr(0, eq), arg.substr(eq + 1));
    else
      entries_.emplace(arg, std::wstring());
  }
}

CommandLineArgs CommandLineArgs::FromCommandLine(std::wstring_view commandLine) {
  return CommandLineArgs(Utils::SplitCommandLine(commandLine));
}

bool CommandLineArgs::contains(const std::wstring& key) const { return entries_.count(key) != 0; }

std::wstring CommandLineArgs::text(const std::wstring& key) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? std::wstring() : it->second;
}

bool CommandLineArgs::flag(const std::wstring& key, bool fallback) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? fallback : it->second == L"true";
}

double CommandLineArgs::number(const std::wstring& key, double fallback) const {
  const auto it = entries_.find(key);
  if (it == entries_.end()) return fallback;
  return ParseDecimal(it->second).value_or(fallback);
}

RouteProbe RouteProbe::System() {
  return {[] { return Utils::GetWindowsVersionName().version; }, &Utils::Is64BitWindows,
          kProductId};
}

bool HasPackage64(int productId) {
  for (int id : {134, 267, 385, 257, 335, 318})
    if (id == productId) return true;
  return false;
}

std::wstring DownloadRoute(const RouteProbe& probe) {
  const std::wstring version = probe.versionName ? probe.versionName() : std::wstring();
  if (version.find(L"XP") != std::wstring::npos) return L"download_silent_xp";
  if (HasPackage64(probe.productId) && probe.is64BitWindows && probe.is64BitWindows())
    return L"download_silent_64";
  return L"download_silent";
}

std::wstring ResolveRoute(const std::wstring& address) {
  return ResolveRoute(address, RouteProbe::System());
}

std::wstring ResolveRoute(const std::wstring& address, const RouteProbe& probe) {
  size_t pos = address.find(kRoutePlaceholder);
  if (pos == std::wstring::npos) return address;
  const std::wstring route = DownloadRoute(probe);
  const size_t placeholderSize = std::char_traits<wchar_t>::length(kRoutePlaceholder);
  std::wstring out = address;
  for (; pos != std::wstring::npos; pos = out.find(kRoutePlaceholder, pos + route.size()))
    out.replace(pos, placeholderSize, route);
  return out;
}

InstallerConfig::InstallerConfig(RouteProbe probe) : probe_(std::move(probe)) {
  DownloadUrl(kDefaultDownloadUrl);
}

void InstallerConfig::DownloadUrl(const std::wstring& url) {
  downloadUrl_ = ResolveRoute(url, probe_);
}

void InstallerConfig::ReadConfigFile(const std::wstring& path) {
  if (!Utils::FileExists(path)) return;
  const auto read = [&](const wchar_t* key, const std::wstring& fallback) {
    return Utils::ReadProfileString(path, kSection, key, fallback);
  };
  DownloadUrl(read(L"DownloadUrl", kDefaultDownloadUrl));
  // A file without the key turns the check on.
  IsCheckNet(read(L"IsCheckNet", L"true") == L"true");
  DlAppNameSuffix(read(L"DlAppNameSuffix", L".downloader"));
  m_DlAppVersion(read(L"m_DlAppVersion", L""));
  DownloadScale(ParseDecimal(read(L"DownloadScale", L"0.7")).value_or(0.0));
  InstCmd(read(L"InstCmd", L""));
}

void InstallerConfig::ApplyCommandLine(const CommandLineArgs& args) {
  if (args.contains(L"-downloadurl")) DownloadUrl(args.text(L"-downloadurl"));
  // A value that is not a number would leave the progress bar nothing to
  // use; the earlier share stays instead.
  if (args.contains(L"-downloadscale"))
    DownloadScale(args.number(L"-downloadscale", downloadScale_));
  if (args.contains(L"-ischecknet")) IsCheckNet(args.flag(L"-ischecknet", false));
  if (args.contains(L"-dlappnamesuffix")) DlAppNameSuffix(args.text(L"-dlappnamesuffix"));
  if (args.contains(L"-dlappversion")) m_DlAppVersion(args.text(L"-dlappversion"));
  if (args.contains(L"-instcmd")) InstCmd(args.text(L"-instcmd"));
}

std::wstring InstallerConfigFilePath() {
  const std::wstring exe = Utils::GetExecutablePath();
  if (exe.empty()) return {};
  return Utils::JoinPath(Utils::RemoveLastComponent(exe), L"OrinInstallerConfig.ini");
}

InstallerConfig& InstallerConfig::Instance() {
  static InstallerConfig config = [] {
    InstallerConfig c;
    c.ReadConfigFile(InstallerConfigFilePath());
    return c;
  }();
  return config;
}

namespace {
// Builds the record during static initialisation, before the entry point.
[[maybe_unused]] const InstallerConfig& g_configAtStartup = InstallerConfig::Instance();
}  // namespace

void ApplyCommandLineOverrides() {
  InstallerConfig::Instance().ApplyCommandLine(CommandLineArgs(Utils::ProcessArguments()));
}

void ApplyCommandLineOverrides(InstallerConfig& config, std::wstring_view commandLine) {
  config.ApplyCommandLine(CommandLineArgs::FromCommandLine(commandLine));
}
