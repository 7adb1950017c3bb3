// Build information of the module: version, company, build number and the build date
// text that the about dialog shows.
#pragma once

#include <string>

#include "core/ui/VersionText.h"

namespace reminder {

class TCompileInfo {
 public:
  // Version "1.0", company "Pellmor Inc.", build 1, the default pattern, and the current
  // time as build date.
  TCompileInfo();

  int Build() const { return build_; }
  void SetBuild(int build) { build_ = build; }
  const std::string& CompanyName() const { return companyName_; }
  void SetCompanyName(const std::string& name);
  const std::string& CompileDate() const { return compileDate_; }
  void SetCompileDate(const std::string& date);
  bool DateOnly() const { return dateOnly_; }
  void SetDateOnly(bool dateOnly);
  TDateTimeFormat Format() const { return format_; }
  void SetFormat(TDateTimeFormat format);
  // The build date is stamped when the module is built, never while it runs: at run time
  // the flag is only kept.
  bool Update() const { return update_; }
  void SetUpdate(bool update) { update_ = update; }
  const std::string& Version() const { return version_; }
  void SetVersion(const std::string& version);
  const std::string& Pattern() const { return pattern_; }

 private:
  int build_ = 1;
  std::string companyName_ = "Pellmor Inc.";
  std::string compileDate_;
  bool dateOnly_ = false;
  TDateTimeFormat format_ = TDateTimeFormat::tfDefault;
  bool update_ = false;
  std::string version_ = "1.0";
  std::string pattern_;
};

// The main window's build information: company "Orvandel", version "1.0", and the time
// this module was built as build date.
TCompileInfo MainCompileInfo();

}  // namespace reminder
