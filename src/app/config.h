// The process-wide configuration record: built-in defaults, then the optional
// file "OrinInstallerConfig.ini" beside the executable (read during static
// initialisation), then the command-line options (applied by the entry point
// before any window exists). Written only on the main thread before any worker
// starts; read from anywhere afterwards.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The number that identifies this product to the vendor's services.
constexpr int kProductId = 1000;

// The download service's address when neither the file nor the command line
// gives one.
extern const wchar_t kDefaultDownloadUrl[];

// A decimal number at the start of `text`: leading blanks skipped, then the
// longest prefix of the form [sign] digits [. digits] [exponent] (a digit on
// at least one side of the point) is converted and the rest ignored, so "0.5"
// and "0.5abc" both give 0.5. Nothing when the text does not start with a
// number or the number's magnitude does not fit a double.
std::optional<double> ParseDecimal(std::wstring_view text);

// The options of a command line: each argument that starts with '-' and
// holds '=' gives the key before the first '=' (the '-' included) and the
// value after it; any other argument, the program path among them, is a key
// with the empty value. Keys match exactly; the first occurrence wins.
class CommandLineArgs {
 public:
  CommandLineArgs() = default;
  explicit CommandLineArgs(const std::vector<std::wstring>& arguments);
  // Splits `commandLine` by the system's rules first.
  static CommandLineArgs FromCommandLine(std::wstring_view commandLine);

  bool contains(const std::wstring& key) const;
  // The value, or the empty string when the key is missing.
  std::wstring text(const std::wstring& key) const;
  // `fallback` when the key is missing, else whether the value is "true".
  bool flag(const std::wstring& key, bool fallback) const;
  // `fallback` when the key is missing or its value is not a number.
  double number(const std::wstring& key, double fallback) const;

  const std::map<std::wstring, std::wstring>& entries() const { return entries_; }

 private:
  std::map<std::wstring, std::wstring> entries_;
};

// What the download route depends on; the members are asked only when
// needed. The default asks the platform probe.
struct RouteProbe {
  std::function<std::wstring()> versionName;  // the version text of the probe
  std::function<bool()> is64BitWindows;
  int productId = kProductId;

  static RouteProbe System();
};

// True for the products that have a 64-bit setup package.
bool HasPackage64(int productId);

// The route of the download service for this system: "download_silent_xp"
// when the version name contains "XP"; otherwise "download_silent_64" for a
// product with a 64-bit package on 64-bit Windows, else "download_silent".
std::wstring DownloadRoute(const RouteProbe& probe);

// `address` with every "${ROUTE}" replaced by the route; unchanged (and the
// system not asked) when it holds none.
std::wstring ResolveRoute(const std::wstring& address);
std::wstring ResolveRoute(const std::wstring& address, const RouteProbe& probe);

class InstallerConfig {
 public:
  // The record built during static initialisation: defaults, then the file
  // beside the executable.
  static InstallerConfig& Instance();

  // The built-in defaults only; `probe` resolves "${ROUTE}" in addresses.
  explicit InstallerConfig(RouteProbe probe = RouteProbe::System());

  // Reads the section "Install" of the configuration file at `path` over the
  // current values; a missing file changes nothing.
  void ReadConfigFile(const std::wstring& path);
  // Applies the recognised options "-downloadurl", "-downloadscale",
  // "-ischecknet", "-dlappnamesuffix", "-dlappversion" and "-instcmd". A
  // "-downloadscale" that is not a number keeps the earlier value.
  void ApplyCommandLine(const CommandLineArgs& args);

  const std::wstring& DownloadUrl() const { return downloadUrl_; }
  bool IsCheckNet() const { return isCheckNet_; }
  double DownloadScale() const { return downloadScale_; }
  const std::wstring& InstCmd() const { return instCmd_; }
  bool ProductInfoEnabled() const { return productInfoEnabled_; }
  const std::wstring& DlAppNameSuffix() const { return dlAppNameSuffix_; }
  const std::wstring& DlAppVersion() const { return dlAppVersion_; }

  // Resolves "${ROUTE}" on every assignment.
  void DownloadUrl(const std::wstring& url);
  void IsCheckNet(bool value) { isCheckNet_ = value; }
  void DownloadScale(double value) { downloadScale_ = value; }
  void InstCmd(const std::wstring& value) { instCmd_ = value; }
  void ProductInfoEnabled(bool value) { productInfoEnabled_ = value; }
  void DlAppNameSuffix(const std::wstring& value) { dlAppNameSuffix_ = value; }
  void m_DlAppVersion(const std::wstring& value) { dlAppVersion_ = value; }

 private:
  RouteProbe probe_;
  std::wstring downloadUrl_;
  bool isCheckNet_ = false;
  std::wstring dlAppNameSuffix_ = L".downloader";
  std::wstring dlAppVersion_;
  double downloadScale_ = 0.7;
  std::wstring instCmd_;
  bool productInfoEnabled_ = true;
};

// "OrinInstallerConfig.ini" in the executable's folder; empty when the
// executable's path is unknown.
std::wstring InstallerConfigFilePath();

// Applies the running process's command-line options to the process-wide
// record. Called once by the entry point, on the main thread.
void ApplyCommandLineOverrides();
// The same for a given command line and record.
void ApplyCommandLineOverrides(InstallerConfig& config, std::wstring_view commandLine);
