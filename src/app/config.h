// The process-wide configuration record: built-in defaults, then the optional
// file "OrinInstallerConfig.ini" beside the executable (read during static
// initialisation), then the command-line options (applied by the entry point
// before any window exists). Written only on the main thread before any worker
// starts; read from anywhere afterwards.
#pragma once

#include <string>

class InstallerConfig {
 public:
  static InstallerConfig& Instance();

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

  InstallerConfig();  // defaults, then the configuration file

 private:
  std::wstring downloadUrl_;
  bool isCheckNet_ = false;
  std::wstring dlAppNameSuffix_ = L".downloader";
  std::wstring dlAppVersion_;
  double downloadScale_ = 0.7;
  std::wstring instCmd_;
  bool productInfoEnabled_ = true;
};
