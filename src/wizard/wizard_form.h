/*
** The wizard window's logic (TFormUpgrade1): the start page with the version
** decision and the databases' builds, the page flow Start, Agreement, Install,
** the News button's emphasis, and the close.
**
** Everything visible goes through WizardWindow; the view calls the handlers
** below on its events.
*/
#pragma once

#include <functional>
#include <span>
#include <string>

#include "platform/own_executable.h"
#include "platform/registry.h"
#include "startup/installation.h"
#include "startup/register_log.h"
#include "wizard/database_build.h"
#include "wizard/news.h"
#include "wizard/version_decision.h"
#include "wizard/wizard_window.h"

namespace kv {

/* The install run, started by the Install button on the third page with the
** version the wizard carries. It runs to its end before returning. */
using InstallRun = std::function<void(const FileVersion& carried)>;

struct WizardServices {
  WizardWindow& window;
  RegisterLog& log;
  Registry& registry;                 // the per-user ServicePack and Build
  OwnExecutable& executable;          // the carried version
  std::string ownPath;                // the running executable
  const Installation& installation;
  VersionRecordReader readVersionRecord;
  InstallRun installRun;
  std::span<const NewsEntry> news = NewsTable();
};

class WizardForm {
 public:
  /* Throws std::invalid_argument without a version record reader or an install run. */
  explicit WizardForm(WizardServices services);

  /* Builds the start page: logs code 0, reads the carried and the installed
  ** version, decides, and unless blocked lists the databases' builds and shows
  ** Button1. An unreadable carried version leaves the wizard blocked (code 900).
  ** Errors of the register log go to the caller. */
  void FormCreate();

  /* Applies the News button's emphasis when the carried build has news: font
  ** size 12, " !!!" after the caption, double width, blinking. Only the first
  ** activation applies it; later ones (after the news window closes) keep it as is. */
  void FormActivate();

  /* Start page: on to the agreement with Button1 disabled. Agreement page, with
  ** CheckBox1 ticked: on to the Install page. Install page: the install run.
  ** Does nothing while blocked, on the agreement page with CheckBox1 unticked,
  ** and while the install run is in progress (it pumps messages). */
  void Button1Click();

  /* Exit: closes the window; ignored while the install run is in progress. */
  void Button2Click();

  /* News: the news window, modally. */
  void Button3Click();

  /* False while the install run is in progress: the window must not close
  ** (nor be closed by its frame) under a run that is still changing databases. */
  bool CanClose() const { return !running_; }

  /* Button1 is enabled exactly while CheckBox1 is ticked. */
  void CheckBox1Click();

  /* Toggles the News button's bold style; the timer is started again also
  ** when the toggle fails (the error then goes on to the caller). */
  void Timer1Timer();

  /* Logs code 9. Errors of the register log go to the caller; the window
  ** closes regardless. */
  void FormClose();

  /* Appends the build line of the database at path to Memo1; nothing for an
  ** empty path or a database that does not exist or cannot be read. */
  void ShowDatabaseBuild(const std::string& path);

  /* False until FormCreate offered an upgrade, reinstall or return. */
  bool UpgradeOffered() const { return offered_; }
  const FileVersion& Carried() const { return carried_; }
  bool NewsEmphasis() const { return newsMark_; }
  /* True when the carried version could not be read: the wizard's own file is damaged. */
  bool OwnFileDamaged() const { return ownFileDamaged_; }

 private:
  void ShowDatabaseBuilds();

  WizardServices s_;
  FileVersion carried_;
  bool offered_ = false;
  bool newsMark_ = false;
  bool ownFileDamaged_ = false;
  bool emphasisApplied_ = false;
  bool running_ = false;
};

}  // namespace kv
